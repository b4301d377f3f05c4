#include "VX8TestFiles.h"
#include "common/KelException.h"
#include "surface/PBMInfo.h"
#include "vx8/VX8Library.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

std::string OpenFailure(TVX8Library& library, const TBytes& bytes)
{
    TTempFile file(bytes);
    try {
        library.Open(file.Path(), true);
    } catch (const KelException& e) {
        EXPECT_TRUE(library.FileName.empty());
        EXPECT_EQ(library.ImageDirectory().size(), 0u);
        return e.what();
    }
    return "opened";
}

std::string OpenImageFailure(TVX8Library& library, const std::string& name)
{
    try {
        library.OpenImage(name);
    } catch (const VX8Exception& e) {
        return e.what();
    }
    return "opened";
}

TEST(LibraryOpen, MissingFileFailsWithTheStreamsErrorNamingTheFile)
{
    TVX8Library library;
    try {
        library.Open("/nonexistent/Warden.vx8", true);
        FAIL();
    } catch (const KelException& e) {
        EXPECT_STREQ(
            e.what(), "Cannot open file \"/nonexistent/Warden.vx8\": No such file or directory");
    }
    EXPECT_TRUE(library.FileName.empty());
}

TEST(LibraryOpen, InvalidHeadersAndShortFilesAreRejected)
{
    const std::string invalid = "ValidateVX8FileHeader: header invalid";
    TVX8Library library;
    for (std::size_t at : {0, 1, 2, 4, 5}) {
        TBytes bytes = LibraryBytes(std::vector<TBytes> {});
        bytes[at] ^= 0x40;
        EXPECT_EQ(OpenFailure(library, bytes), invalid) << "byte " << at;
    }
    TBytes oneShort = LibraryBytes(std::vector<TBytes> {});
    oneShort.pop_back();
    EXPECT_EQ(OpenFailure(library, oneShort), invalid);
    EXPECT_EQ(OpenFailure(library, DataFile("short-palette.vx8")), invalid);
    EXPECT_EQ(OpenFailure(library, {}), invalid);
}

TEST(LibraryOpen, BrokenRecordsFailTheOpenInsteadOfLooping)
{
    TVX8Library library;
    EXPECT_EQ(OpenFailure(library, DataFile("zero-length-record.vx8")),
        "BuildDirectory: invalid image record length");
    EXPECT_EQ(OpenFailure(library, DataFile("record-past-end.vx8")),
        "BuildDirectory: image record runs past end of file");
    TBytes trailing = LibraryBytes({PlainRecord("a", 4, 1)});
    trailing.insert(trailing.end(), {1, 2, 3});
    EXPECT_EQ(OpenFailure(library, trailing), "BuildDirectory: image record runs past end of file");
    TTestRecord revision2 = PlainRecord("b", 4, 1);
    revision2.Revision = 2;
    EXPECT_EQ(OpenFailure(library, LibraryBytes({PlainRecord("a", 4, 1), revision2})),
        "Invalid VX8 image header");
}

TEST(LibraryOpen, RecordsThatFailToReadOrDecodeLeaveTheListUnchanged)
{
    TVX8Library library;
    TTempFile shortRows(DataFile("state2-short-segment.vx8"));
    library.Open(shortRows.Path(), true);
    EXPECT_EQ(OpenImageFailure(library, "short"),
        "ReadFromStream: segment size does not match image size");
    TTempFile rowZero(DataFile("copy-on-row-zero.vx8"));
    library.Open(rowZero.Path(), true);
    EXPECT_EQ(OpenImageFailure(library, "COPY"), "Decode: copy from the row below on row 0");
    EXPECT_EQ(library.Images.Count, 0);
}

TEST(LibraryNames, EmptyLibraryHasNoImagesAndNamesAreCutToEight)
{
    TVX8Library library;
    TTempFile file(LibraryBytes(std::vector<TBytes> {}));
    library.Open(file.Path(), true);
    EXPECT_FALSE(library.ImageExists("roads"));
    EXPECT_EQ(OpenImageFailure(library, "Roads"), "Image \"Roads\" does not exist");
    EXPECT_EQ(OpenImageFailure(library, "WellDone123"), "Image \"WellDone\" does not exist");
}

TEST(LibraryNames, CaseIsIgnoredAndTheFirstRecordOfANameCounts)
{
    TVX8Library library;
    TTempFile file(LibraryBytes({RawLineRecord("Roads", 4, 1, 11), RawLineRecord("ROADS", 4, 1, 22),
        RawLineRecord("longname", 4, 1, 33)}));
    library.Open(file.Path(), true);
    EXPECT_EQ(library.ImageOffset("rOaDs"), 1030);
    EXPECT_EQ(library.ImageDirectory().size(), 2u);

    TImageNode* lower = library.OpenImage("roads");
    TImageNode* upper = library.OpenImage("ROADS");
    ASSERT_EQ(lower, upper);
    EXPECT_EQ(lower->Name, "roads");
    EXPECT_EQ(lower->OpenCount, 2);
    EXPECT_EQ(*library.GetImageData(lower)->StartLine(0, 0), 11);
    EXPECT_EQ(library.OpenImage("LongNameAndMore")->Name, "longname");

    library.ReleaseImage(lower);
    EXPECT_TRUE(library.Images.Contains(lower));
    library.ReleaseImage(lower);
    EXPECT_EQ(library.Images.Count, 1);
    library.ReleaseImage(nullptr);
}

TEST(LibraryNames, CreatedImagesHideFileRecordsAndGoWithOneRelease)
{
    TVX8Library library;
    TTempFile file(LibraryBytes({RawLineRecord("_board_", 4, 1, 5)}));
    library.Open(file.Path(), true);
    TImageNode* board = library.CreateImage("_BOARD_", 208, 208);
    EXPECT_EQ(board->OpenCount, 0);
    EXPECT_EQ(library.OpenImage("_board_"), board);
    EXPECT_EQ(board->OpenCount, 1);
    TVX8ImageData* data = library.GetImageData(board);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(library.GetImageData(board), data);
    EXPECT_EQ(data->Width, 208);
    library.ReleaseImage(board);
    EXPECT_EQ(library.Images.Count, 0);

    library.CreateImage("tmp", 2, 2);
    library.ReleaseImage(static_cast<TImageNode*>(library.Images.Head));
    EXPECT_EQ(library.Images.Count, 0);

    library.CreateImage("kept", 2, 2);
    library.Close();
    EXPECT_EQ(library.Images.Count, 0);
    EXPECT_FALSE(library.ImageExists("_board_"));
}

TEST(LibraryPalette, DisplayPaletteHasBlackWhiteAndTheLibraryColours)
{
    TVX8Library library;
    try {
        library.GetHPal();
        FAIL();
    } catch (const VX8Exception& e) {
        EXPECT_STREQ(e.what(), "GetHPal: global palette unavailable");
    }
    TTempFile file(LibraryBytes(std::vector<TBytes> {}));
    library.Open(file.Path(), true);
    const TDisplayPalette* palette = library.GetHPal();
    EXPECT_EQ(palette->Entries[0], (TPaletteEntry {0, 0, 0, 0}));
    EXPECT_EQ(palette->Entries[255], (TPaletteEntry {255, 255, 255, 0}));
    EXPECT_EQ(palette->Entries[1], (TPaletteEntry {0, 254, 1, PaletteNoCollapse}));
    EXPECT_EQ(palette->Entries[254], (TPaletteEntry {127, 1, 254, PaletteNoCollapse}));
    EXPECT_EQ(library.GetHPal(), palette);
}

TEST(LibraryDraw, DrawImageMapsPixelsThroughTheSelectedPalette)
{
    InitPBMInfo();
    TVX8Library library;
    TTempFile file(LibraryBytes({PlainRecord("pic", 3, 2, 7)}));
    library.Open(file.Path(), true);
    TPixelBuffer pixels(4, 4);
    TDeviceContext dc(pixels);
    dc.SelectPalette(library.GetHPal(), false);
    library.DrawImage(dc, 1, 1, library.OpenImage("pic"));
    EXPECT_EQ(pixels.Pixel(1, 1), MakeColour(3, 248, 7)); // index 7
    EXPECT_EQ(pixels.Pixel(3, 2), MakeColour(4, 247, 8)); // index 8
    EXPECT_EQ(pixels.Pixel(0, 0), 0u);
    EXPECT_EQ(SharedPBMInfo()->Header.Height, 0); // drawn through a copy
}

TEST(LibraryReferences, DestructionClearsRegisteredVariables)
{
    auto library = std::make_unique<TVX8Library>();
    TVX8Library* first = library.get();
    TVX8Library* second = library.get();
    TVX8Library* other = nullptr;
    library->RegisterReference(&first);
    library->RegisterReference(&first);
    library->RegisterReference(&second);
    library->RegisterReference(&other);
    library->UnregisterReference(&second);
    library.reset();
    EXPECT_EQ(first, nullptr);
    EXPECT_NE(second, nullptr);
}

TEST(LibraryOpen, ReadOnlyFileAttributesOverrideTheCaller)
{
    TVX8Library library;
    TTempFile file(LibraryBytes(std::vector<TBytes> {}));
    library.Open(file.Path(), false);
    EXPECT_FALSE(library.IsReadOnly());
    library.Open(file.Path(), true);
    EXPECT_TRUE(library.IsReadOnly());
    ASSERT_EQ(::chmod(file.Path().c_str(), 0444), 0);
    library.Open(file.Path(), false);
    EXPECT_TRUE(library.IsReadOnly());
    EXPECT_TRUE(IsFileReadOnly("/nonexistent/file"));
}

} // namespace
