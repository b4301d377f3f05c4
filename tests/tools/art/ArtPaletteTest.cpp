#include "art/ArtPalette.h"
#include "art/ArtColours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

TArtPicture Stripes(
    const std::string& name, const std::vector<TArtColour>& colours, bool transparent)
{
    TArtPicture picture(name, 8 * static_cast<int32_t>(colours.size()), 4, transparent);
    for (int32_t y = 0; y < picture.Height; ++y) {
        for (int32_t x = 0; x < picture.Width; ++x) {
            picture.At(x, y) = colours[static_cast<std::size_t>(x / 8)];
            picture.SetCovered(x, y, true);
        }
    }
    return picture;
}

} // namespace

TEST(ArtPalette, FewColoursAreKeptExactlyAndFlatAreasMapToOneIndex)
{
    const std::vector<TArtColour> colours
        = {Rgb(224, 198, 148), Rgb(118, 158, 66), Rgb(176, 56, 38)};
    const TArtPicture picture = Stripes("stripes", colours, false);

    const TArtPalette palette = BuildPalette({picture});
    const TIndexedPicture indexed = MapToPalette(picture, palette);

    for (std::size_t stripe = 0; stripe < colours.size(); ++stripe) {
        const auto x = static_cast<int32_t>(stripe) * 8;
        const uint8_t index = indexed.At(x, 0);
        const TPaletteColour expected {static_cast<uint8_t>(std::lround(colours[stripe].R * 255)),
            static_cast<uint8_t>(std::lround(colours[stripe].G * 255)),
            static_cast<uint8_t>(std::lround(colours[stripe].B * 255))};
        EXPECT_EQ(palette[index], expected) << "stripe " << stripe;
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t dx = 0; dx < 8; ++dx)
                EXPECT_EQ(indexed.At(x + dx, y), index);
        }
    }
}

TEST(ArtPalette, ReservedSlotsAreSetWhateverThePicturesHold)
{
    const TArtPalette greens
        = BuildPalette({Stripes("greens", {Rgb(10, 200, 10), Rgb(20, 120, 40)}, false)});
    const TArtPalette reds = BuildPalette({Stripes("reds", {Rgb(200, 10, 10)}, true)});

    // The display keeps black at 0 and white at 255 whatever the library says.
    EXPECT_EQ(greens[BlackSlot], (TPaletteColour {0, 0, 0}));
    EXPECT_EQ(greens[WhiteSlot], (TPaletteColour {255, 255, 255}));
    for (int32_t slot : {BlackSlot, WhiteSlot, GridLineSlot, EdgeLineSlot, TransparentKeySlot})
        EXPECT_EQ(greens[slot], reds[slot]) << "slot " << slot;
}

TEST(ArtPalette, DrawnPixelsNeverTakeTheKeyEvenInTheKeysOwnColour)
{
    const TArtPicture picture = Stripes("magenta", {Paint::Key, Rgb(250, 10, 250)}, true);

    const TArtPalette palette = BuildPalette({picture});
    const TIndexedPicture indexed = MapToPalette(picture, palette);

    for (uint8_t index : indexed.Pixels)
        EXPECT_NE(index, TransparentKeySlot);
}

TEST(ArtPalette, UncoveredPixelsOfATransparentPictureBecomeTheKey)
{
    TArtPicture picture = Stripes("holes", {Rgb(200, 180, 120)}, true);
    picture.SetCovered(3, 2, false);

    const TIndexedPicture indexed = MapToPalette(picture, BuildPalette({picture}));

    EXPECT_EQ(indexed.At(3, 2), TransparentKeySlot);
    EXPECT_NE(indexed.At(4, 2), TransparentKeySlot);
    EXPECT_TRUE(indexed.Transparent);
}

TEST(ArtPalette, ManyColoursShareTheFreeSlotsWithoutDuplicatesOfTheKey)
{
    std::vector<TArtColour> ramp;
    ramp.reserve(400);
    for (int32_t i = 0; i < 400; ++i)
        ramp.push_back(Rgb(i % 256, (i * 7) % 256, (i * 13) % 256));
    const TArtPicture picture = Stripes("ramp", ramp, false);

    const TArtPalette palette = BuildPalette({picture});
    const TIndexedPicture indexed = MapToPalette(picture, palette);

    std::set<uint8_t> used(indexed.Pixels.begin(), indexed.Pixels.end());
    EXPECT_GT(used.size(), 200u);
    EXPECT_EQ(used.count(TransparentKeySlot), 0u);
}
