#include "ArtTestLibrary.h"

#include "art/ArtColours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

const char* const ArrowStrips[] = {"arru", "arrl", "arrd", "arrr"};

std::vector<uint8_t> Frame(const TIndexedPicture& strip, int32_t frame)
{
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 20; ++x)
            pixels.push_back(strip.At(x, frame * 20 + y));
    }
    return pixels;
}

} // namespace

TEST(ArtArrows, ReleasedAndPressedFramesCoverExactlyTheSamePixels)
{
    const TArtLibrary& library = SharedLibrary();

    for (const char* strip : ArrowStrips) {
        const TIndexedPicture& up = library.Picture(std::string(strip) + "_up");
        const TIndexedPicture& down = library.Picture(std::string(strip) + "_dn");
        ASSERT_EQ(up.Pixels.size(), down.Pixels.size()) << strip;
        for (std::size_t i = 0; i < up.Pixels.size(); ++i) {
            const bool upDrawn = up.Pixels[i] != TransparentKeySlot;
            const bool downDrawn = down.Pixels[i] != TransparentKeySlot;
            ASSERT_EQ(upDrawn, downDrawn) << strip << " pixel " << i;
        }
    }
}

TEST(ArtArrows, PressedFramesLookDifferentFromReleasedOnes)
{
    const TArtLibrary& library = SharedLibrary();

    for (const char* strip : ArrowStrips) {
        const TIndexedPicture& up = library.Picture(std::string(strip) + "_up");
        const TIndexedPicture& down = library.Picture(std::string(strip) + "_dn");
        for (int32_t frame = 0; frame < up.Height / 20; ++frame)
            EXPECT_NE(Frame(up, frame), Frame(down, frame)) << strip << " frame " << frame;
    }
}

TEST(ArtArrows, EveryFrameShowsItsOwnKey)
{
    const TArtLibrary& library = SharedLibrary();

    for (const char* strip : ArrowStrips) {
        const TIndexedPicture& up = library.Picture(std::string(strip) + "_up");
        const int32_t frames = up.Height / 20;
        for (int32_t a = 0; a < frames; ++a) {
            for (int32_t b = a + 1; b < frames; ++b)
                EXPECT_NE(Frame(up, a), Frame(up, b)) << strip << " frames " << a << ", " << b;
        }
    }
}

TEST(ArtArrows, EachFrameKeepsWithinItsTwentyPixels)
{
    const TArtLibrary& library = SharedLibrary();
    const auto drawnAt = [](const std::vector<uint8_t>& pixels, int32_t x, int32_t y) {
        return pixels[static_cast<std::size_t>(y * 20 + x)] != TransparentKeySlot;
    };

    // A pin may rest its base on one edge of its frame; touching a second edge would mean the
    // frame cuts it off.
    for (const char* strip : ArrowStrips) {
        const TIndexedPicture& up = library.Picture(std::string(strip) + "_up");
        for (int32_t frame = 0; frame < up.Height / 20; ++frame) {
            const std::vector<uint8_t> pixels = Frame(up, frame);
            const auto drawn = std::count_if(
                pixels.begin(), pixels.end(), [](uint8_t p) { return p != TransparentKeySlot; });
            EXPECT_GT(drawn, 150) << strip << " frame " << frame;
            EXPECT_LT(drawn, 400) << strip << " frame " << frame;
            std::array<bool, 4> touched {};
            for (int32_t i = 0; i < 20; ++i) {
                touched[0] = touched[0] || drawnAt(pixels, i, 0);
                touched[1] = touched[1] || drawnAt(pixels, i, 19);
                touched[2] = touched[2] || drawnAt(pixels, 0, i);
                touched[3] = touched[3] || drawnAt(pixels, 19, i);
            }
            EXPECT_LE(std::count(touched.begin(), touched.end(), true), 1)
                << strip << " frame " << frame;
        }
    }
}
