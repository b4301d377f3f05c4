#include "EncoderTestSupport.h"

namespace {

TVX8SourceImage Sized(const std::string& name, uint16_t width, uint16_t height)
{
    return MakeImage(name, width, height, [](int, int) { return 1; });
}

std::string EncodeFailure(const TVX8SourceImage& image)
{
    return FailureOf([&] { EncodeImageRecord(image); });
}

} // namespace

TEST(EncoderValidation, NamesOutside1To8Characters_AreRefused)
{
    EXPECT_EQ(
        EncodeFailure(Sized("", 1, 1)), "EncodeImage: image name \"\" must have 1 to 8 characters");
    EXPECT_EQ(EncodeFailure(Sized("ninechars", 1, 1)),
        "EncodeImage: image name \"ninechars\" must have 1 to 8 characters");
    EXPECT_EQ(EncodeFailure(Sized(std::string("ab\0c", 4), 1, 1)),
        "EncodeImage: image name \"ab...\" contains a zero byte");
    EXPECT_EQ(EncodeFailure(Sized("eight_ch", 1, 1)), "");
}

TEST(EncoderValidation, SizesTheGeometryCannotHold_AreRefused)
{
    EXPECT_EQ(EncodeFailure(Sized("empty", 0, 5)),
        "EncodeImage: image \"empty\" is 0 x 5; width and height must be 1 to 65,535");
    EXPECT_EQ(EncodeFailure(Sized("wide", 65281, 1)),
        "EncodeImage: image \"wide\" is 65281 pixels wide; a row may have at most 65,280");
    // One row per segment: 256 rows would need 256 segments.
    EXPECT_EQ(EncodeFailure(Sized("tall", 65280, 256)),
        "EncodeImage: image \"tall\" (65280 x 256) cannot be cut into at most 255 segments");
    EXPECT_EQ(VX8SegmentLayout(65280, 255).Count, 255);
    // The geometry's rules leave the last segment of this size above the segment limit.
    EXPECT_NE(EncodeFailure(Sized("misfit", 216, 65535)), "");
}

TEST(EncoderValidation, PixelCountNotMatchingTheSize_IsRefused)
{
    TVX8SourceImage image = Sized("short", 4, 4);
    image.Pixels.pop_back();

    EXPECT_EQ(EncodeFailure(image), "EncodeImage: image \"short\" has 15 pixels; 4 x 4 needs 16");
}

TEST(EncoderValidation, NamesDifferingOnlyInLetterCase_CannotShareALibrary)
{
    std::string failure = FailureOf([] {
        EncodeLibrary(TestPalette(), {Sized("Roads", 1, 1), Sized("rOADS", 1, 1)});
    });

    EXPECT_EQ(
        failure, "EncodeLibrary: image name \"rOADS\" occurs twice (names ignore letter case)");
}

TEST(EncoderValidation, ForcedLineCodingLongerThanABlockCanHold_IsRefused)
{
    // 16,320 rows of four pixels: one code byte per row takes line coding past 65,535 bytes.
    std::mt19937 rng(1);
    TVX8SourceImage noise = MakePicture(TPictureKind::Noise, "noise", 4, 16320, rng);

    std::string forced = FailureOf([&] { EncodeImageRecord(noise, TVX8Coding::Lines); });
    TVX8EncodedRecord chosen = EncodeImageRecord(noise);

    EXPECT_EQ(
        forced, "EncodeSegment: 81600 stored bytes exceed the 65,535 a segment block can hold");
    EXPECT_EQ(chosen.Segments.at(0).Coding, TVX8Coding::Plain);
}

TEST(EncoderValidation, SegmentRowsNotMatchingTheirSize_AreRefused)
{
    std::vector<uint8_t> rows(10, 0);

    EXPECT_NE(FailureOf([&] { EncodeSegment(rows, 3, 3); }), "");
}

TEST(EncoderValidation, LibraryWrittenToAMissingFolder_NamesTheFileAndLeavesNothing)
{
    TTempFolder folder;
    std::string path = folder.Path("missing/out.vx8");

    std::string failure = FailureOf([&] { WriteLibraryFile(path, TestPalette(), {}); });

    EXPECT_EQ(
        failure, "WriteLibraryFile: cannot write \"" + path + "\": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

TEST(EncoderValidation, LibraryWithoutImages_IsTheHeaderAndPaletteAlone)
{
    TTempFolder folder;
    std::string path = folder.Path("empty.vx8");

    WriteLibraryFile(path, TestPalette(), {});

    EXPECT_EQ(std::filesystem::file_size(path), 1030u);
    TVX8Library library;
    library.Open(path, true);
    EXPECT_TRUE(library.ImageDirectory().empty());
}
