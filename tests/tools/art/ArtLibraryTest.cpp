#include "ArtTestLibrary.h"

#include "art/ArtColours.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct TExpectedImage {
    const char* Name;
    int32_t Width;
    int32_t Height;
    bool Transparent;
};

const TExpectedImage ExpectedImages[] = {
    {"tile", 128, 128, false},
    {"empty", 32, 32, false},
    {"roads", 96, 288, true},
    {"conndiag", 21, 14, true},
    {"arru_up", 20, 100, true},
    {"arru_dn", 20, 100, true},
    {"arrl_up", 20, 100, true},
    {"arrl_dn", 20, 100, true},
    {"arrd_up", 20, 140, true},
    {"arrd_dn", 20, 140, true},
    {"arrr_up", 20, 140, true},
    {"arrr_dn", 20, 140, true},
    {"start", 156, 84, false},
    {"exit", 156, 84, false},
    {"min_btn", 40, 84, false},
    {"plus_btn", 40, 84, false},
    {"warden", 375, 92, true},
    {"colrow", 112, 58, true},
    {"welldone", 206, 206, true},
    {"clicksr", 206, 206, true},
};

double Luminance(const TPaletteColour& colour)
{
    auto linear = [](uint8_t channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.R) + 0.7152 * linear(colour.G) + 0.0722 * linear(colour.B);
}

double Contrast(const TPaletteColour& a, const TPaletteColour& b)
{
    const double la = Luminance(a) + 0.05;
    const double lb = Luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

TPaletteColour MeanColour(const TIndexedPicture& picture, const TArtPalette& palette)
{
    double r = 0, g = 0, b = 0;
    for (uint8_t index : picture.Pixels) {
        r += palette[index].R;
        g += palette[index].G;
        b += palette[index].B;
    }
    const auto n = static_cast<double>(picture.Pixels.size());
    return {static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n), static_cast<uint8_t>(b / n)};
}

} // namespace

TEST(ArtLibrary, HoldsEveryImageTheGameOpensWithItsExactSizeAndTransparency)
{
    const TArtLibrary& library = SharedLibrary();

    ASSERT_EQ(library.Pictures.size(), std::size(ExpectedImages));
    for (const TExpectedImage& expected : ExpectedImages) {
        const TIndexedPicture& picture = library.Picture(expected.Name);
        EXPECT_EQ(picture.Width, expected.Width) << expected.Name;
        EXPECT_EQ(picture.Height, expected.Height) << expected.Name;
        EXPECT_EQ(picture.Transparent, expected.Transparent) << expected.Name;
        EXPECT_EQ(
            picture.Pixels.size(), static_cast<std::size_t>(expected.Width * expected.Height));
    }
}

TEST(ArtLibrary, OpaqueImagesNeverUseTheTransparentKey)
{
    const TArtLibrary& library = SharedLibrary();

    for (const TIndexedPicture& picture : library.Pictures) {
        if (picture.Transparent)
            continue;
        const auto keys
            = std::count(picture.Pixels.begin(), picture.Pixels.end(), TransparentKeySlot);
        EXPECT_EQ(keys, 0) << picture.Name;
    }
}

TEST(ArtLibrary, TransparentImagesHaveBothHolesAndDrawnPixels)
{
    const TArtLibrary& library = SharedLibrary();

    for (const TIndexedPicture& picture : library.Pictures) {
        if (!picture.Transparent)
            continue;
        const auto keys
            = std::count(picture.Pixels.begin(), picture.Pixels.end(), TransparentKeySlot);
        EXPECT_GT(keys, 0) << picture.Name;
        EXPECT_LT(static_cast<std::size_t>(keys), picture.Pixels.size()) << picture.Name;
    }
}

TEST(ArtLibrary, GridAndEdgeLinesStandOutFromTheMeadowAndTheTable)
{
    const TArtLibrary& library = SharedLibrary();
    const TPaletteColour meadow = MeanColour(library.Picture("empty"), library.Palette);
    const TPaletteColour table = MeanColour(library.Picture("tile"), library.Palette);

    for (int32_t slot : {GridLineSlot, EdgeLineSlot}) {
        const TPaletteColour line = library.Palette[static_cast<std::size_t>(slot)];
        EXPECT_GT(Contrast(line, meadow), 3.0) << "slot " << slot;
        EXPECT_GT(Contrast(line, table), 2.0) << "slot " << slot;
    }
}

TEST(ArtLibrary, DrawingTwiceGivesIdenticalFileContents)
{
    const TArtLibrary& first = SharedLibrary();

    const TArtLibrary second = BuildArtLibrary();

    EXPECT_EQ(ToFilePalette(first.Palette), ToFilePalette(second.Palette));
    const std::vector<TVX8SourceImage> a = ToSourceImages(first);
    const std::vector<TVX8SourceImage> b = ToSourceImages(second);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Name, b[i].Name);
        EXPECT_EQ(a[i].Pixels, b[i].Pixels) << a[i].Name;
        EXPECT_EQ(a[i].TransparentIndex, b[i].TransparentIndex) << a[i].Name;
    }
}

TEST(ArtLibrary, FilePaletteStoresBlueGreenRedAndZero)
{
    TArtPalette palette {};
    palette[7] = {10, 20, 30};

    const TVX8Palette file = ToFilePalette(palette);

    EXPECT_EQ(file[28], 30);
    EXPECT_EQ(file[29], 20);
    EXPECT_EQ(file[30], 10);
    EXPECT_EQ(file[31], 0);
}

TEST(ArtLibrary, SourceImagesKeyOnlyTheTransparentOnes)
{
    const std::vector<TVX8SourceImage> images = ToSourceImages(SharedLibrary());

    for (const TVX8SourceImage& image : images) {
        EXPECT_EQ(image.TransparentIndex, image.Transparent ? TransparentKeySlot : 0) << image.Name;
        EXPECT_LE(image.Name.size(), 8u);
    }
}
