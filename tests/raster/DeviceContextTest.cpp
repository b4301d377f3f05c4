#include "raster/DeviceContext.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An 8-bit bitmap of w x h with bottom-up row r (0 = bottom) holding values 10 * r + column.
struct TTestBitmap {
    TTestBitmap(int32_t w, int32_t h)
        : Stride((w + 3) & ~3)
        , Bits(Stride * h, 0)
    {
        Info.Header = {40, w, h, 1, 8, 0, static_cast<uint32_t>(Stride * h), 0, 0, 0, 0};
        for (int i = 0; i < 256; ++i)
            Info.Colors[i] = static_cast<uint16_t>(i);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c)
                Bits[r * Stride + c] = static_cast<uint8_t>(10 * r + c);
    }
    int32_t Stride;
    std::vector<uint8_t> Bits;
    TBitmapInfo Info;
};

constexpr TColour Grey(int level)
{
    return MakeColour(level, level, level);
}

TEST(DeviceContext, TransferCopiesBottomUpRowsThroughTheColourTable)
{
    TTestBitmap bitmap(3, 2);
    bitmap.Info.Colors[11] = 200; // index 11 shows palette entry 200
    TPixelBuffer pixels(4, 3);
    TDeviceContext dc(pixels);
    EXPECT_EQ(dc.TransferDIBits(1, 1, 3, 2, 0, 0, bitmap.Bits, bitmap.Info), 2);
    EXPECT_EQ(pixels.Pixel(1, 1), Grey(10)); // top row of the block is bitmap row 1
    EXPECT_EQ(pixels.Pixel(2, 1), Grey(200));
    EXPECT_EQ(pixels.Pixel(3, 2), Grey(2));
    EXPECT_EQ(pixels.Pixel(0, 0), 0u);
}

TEST(DeviceContext, SourceOffsetsCountFromTheBitmapsBottomLeft)
{
    TTestBitmap bitmap(4, 4);
    TPixelBuffer pixels(2, 2);
    TDeviceContext dc(pixels);
    dc.TransferDIBits(0, 0, 2, 2, 1, 2, bitmap.Bits, bitmap.Info);
    EXPECT_EQ(pixels.Pixel(0, 0), Grey(31));
    EXPECT_EQ(pixels.Pixel(1, 1), Grey(22));
}

TEST(DeviceContext, TransfersAreClippedToTheClipBoxTargetAndBitmap)
{
    TTestBitmap bitmap(4, 4);
    TPixelBuffer pixels(6, 6, 0xFFFFFF);
    TDeviceContext dc(pixels);
    dc.SetOrigin({2, 1});
    dc.SetClipBox({0, 0, 3, 2});
    EXPECT_EQ(dc.ClipBox(), (TRect {0, 0, 3, 2}));
    EXPECT_EQ(dc.TransferDIBits(-1, -1, 4, 4, 0, 0, bitmap.Bits, bitmap.Info), 2);
    EXPECT_EQ(pixels.Pixel(2, 1), Grey(21)); // block pixel (1, 1): bitmap row 2 from the bottom
    EXPECT_EQ(pixels.Pixel(4, 2), Grey(13));
    EXPECT_EQ(pixels.Pixel(5, 2), 0xFFFFFFu);
    EXPECT_EQ(pixels.Pixel(2, 3), 0xFFFFFFu);
    dc.SetClipBox({-10, -10, 100, 100});
    EXPECT_EQ(dc.ClipBox(), (TRect {-2, -1, 4, 5}));
    EXPECT_EQ(dc.TransferDIBits(2, 3, 4, 4, 0, 0, bitmap.Bits, bitmap.Info), 2);
}

TEST(DeviceContext, MalformedBitmapsAreRefused)
{
    TTestBitmap bitmap(4, 4);
    TPixelBuffer pixels(4, 4);
    TDeviceContext dc(pixels);
    const std::span<const uint8_t> tooShort(bitmap.Bits.data(), bitmap.Bits.size() - 1);
    EXPECT_EQ(dc.TransferDIBits(0, 0, 4, 4, 0, 0, tooShort, bitmap.Info), 0);
    bitmap.Info.Header.BitCount = 24;
    EXPECT_EQ(dc.TransferDIBits(0, 0, 4, 4, 0, 0, bitmap.Bits, bitmap.Info), 0);
    EXPECT_EQ(pixels.Pixel(3, 3), 0u);
}

TEST(DeviceContext, DeviceClipOfIsTheRectInTargetPixelsWithinTheClipAndTheTarget)
{
    TPixelBuffer pixels(10, 8);
    TDeviceContext dc(pixels);
    dc.SetOrigin({2, 1});
    dc.SetClipBox({0, 0, 5, 5}); // target pixels (2, 1) to (7, 6)
    const struct {
        TRect Logical;
        TRect Device;
    } cases[] = {
        {{1, 1, 3, 2}, {3, 2, 5, 3}},
        {{-5, -5, 20, 20}, {2, 1, 7, 6}},
        {{6, 0, 9, 3}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dc.DeviceClipOf(c.Logical), c.Device);
    dc.SetOrigin({-5, -5});
    dc.RemoveClipRegion();
    EXPECT_EQ(dc.DeviceClipOf({0, 0, 20, 20}), (TRect {0, 0, 10, 8}));
    EXPECT_EQ(dc.PixelTarget().Pixels, pixels.Pixels());
}

TEST(DeviceContext, TransfersShowTheSelectedPaletteAndNoneSelectsTheDefault)
{
    TTestBitmap bitmap(1, 1); // one pixel of value 0
    TPixelBuffer pixels(1, 1);
    TDeviceContext dc(pixels);
    TDisplayPalette palette;
    palette.Entries[0] = {1, 2, 3, 0};
    EXPECT_EQ(dc.SelectPalette(&palette, false), &TDisplayPalette::Default());
    dc.TransferDIBits(0, 0, 1, 1, 0, 0, bitmap.Bits, bitmap.Info);
    EXPECT_EQ(pixels.Pixel(0, 0), MakeColour(1, 2, 3));
    EXPECT_EQ(dc.SelectPalette(nullptr, true), &palette);
    dc.TransferDIBits(0, 0, 1, 1, 0, 0, bitmap.Bits, bitmap.Info);
    EXPECT_EQ(pixels.Pixel(0, 0), Grey(0));
}

} // namespace
