#include "ArtTestLibrary.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double ColourStep(const TArtPalette& palette, uint8_t a, uint8_t b)
{
    const TPaletteColour& p = palette[a];
    const TPaletteColour& q = palette[b];
    return std::abs(p.R - q.R) + std::abs(p.G - q.G) + std::abs(p.B - q.B);
}

// Mean colour step between neighbouring columns: across the wrap (last to first column) and
// between columns inside the picture.
void ColumnSteps(
    const TIndexedPicture& picture, const TArtPalette& palette, double* seam, double* inside)
{
    double seamSum = 0;
    double insideSum = 0;
    for (int32_t y = 0; y < picture.Height; ++y) {
        seamSum += ColourStep(palette, picture.At(picture.Width - 1, y), picture.At(0, y));
        for (int32_t x = 1; x < picture.Width; ++x)
            insideSum += ColourStep(palette, picture.At(x - 1, y), picture.At(x, y));
    }
    *seam = seamSum / picture.Height;
    *inside = insideSum / (picture.Height * (picture.Width - 1.0));
}

TIndexedPicture Transposed(const TIndexedPicture& picture)
{
    TIndexedPicture turned {picture.Name, picture.Height, picture.Width, false, {}};
    turned.Pixels.resize(picture.Pixels.size());
    for (int32_t y = 0; y < picture.Height; ++y) {
        for (int32_t x = 0; x < picture.Width; ++x)
            turned.Pixels[static_cast<std::size_t>(x * turned.Width + y)] = picture.At(x, y);
    }
    return turned;
}

void ExpectSeamless(const TIndexedPicture& picture, const TArtPalette& palette)
{
    double seam = 0, inside = 0;
    ColumnSteps(picture, palette, &seam, &inside);
    EXPECT_LE(seam, 2 * inside + 1) << picture.Name << " left and right edges";
    ColumnSteps(Transposed(picture), palette, &seam, &inside);
    EXPECT_LE(seam, 2 * inside + 1) << picture.Name << " top and bottom edges";
}

} // namespace

TEST(ArtBackground, TableTileRepeatsWithoutVisibleSeams)
{
    const TArtLibrary& library = SharedLibrary();

    ExpectSeamless(library.Picture("tile"), library.Palette);
}

TEST(ArtBackground, MeadowCellRepeatsWithoutVisibleSeams)
{
    const TArtLibrary& library = SharedLibrary();

    ExpectSeamless(library.Picture("empty"), library.Palette);
}
