#include "ArtTestLibrary.h"

#include "art/ArtColours.h"
#include "vx8/VX8Library.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::string LibraryPath = PW_BUILD_DIR "/Warden.vx8";

// Rows of an opened image, top row first, read through the surface's line pointers.
std::vector<uint8_t> ReadPixels(TVX8ImageData& surface)
{
    std::vector<uint8_t> pixels(static_cast<std::size_t>(surface.Width * surface.Height));
    for (int32_t y = 0; y < surface.Height; ++y) {
        const uint8_t* row = surface.StartLine(0, y);
        std::memcpy(
            pixels.data() + static_cast<std::ptrdiff_t>(y) * surface.Width, row, surface.Width);
        surface.UnlockSegment(0, y);
    }
    return pixels;
}

} // namespace

TEST(ArtLibraryFile, BuiltLibraryHoldsTheDrawnPicturesPixelForPixel)
{
    const TArtLibrary& drawn = SharedLibrary();
    TVX8Library library;

    library.Open(LibraryPath, true);

    ASSERT_EQ(library.ImageDirectory().size(), drawn.Pictures.size());
    for (const TIndexedPicture& picture : drawn.Pictures) {
        TImageNode* node = library.OpenImage(picture.Name);
        TVX8ImageData* surface = library.GetImageData(node);
        ASSERT_NE(surface, nullptr) << picture.Name;
        EXPECT_EQ(surface->Width, picture.Width) << picture.Name;
        EXPECT_EQ(surface->Height, picture.Height) << picture.Name;
        EXPECT_EQ(surface->TransparentKey(), picture.Transparent ? TransparentKeySlot : -1)
            << picture.Name;
        EXPECT_EQ(ReadPixels(*surface), picture.Pixels) << picture.Name;
        library.ReleaseImage(node);
    }
}

TEST(ArtLibraryFile, BuiltLibraryCarriesTheSharedPalette)
{
    TVX8Library library;

    library.Open(LibraryPath, true);

    ASSERT_NE(library.FilePalette(), nullptr);
    const TVX8Palette expected = ToFilePalette(SharedLibrary().Palette);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), library.FilePalette()->begin()));
}
