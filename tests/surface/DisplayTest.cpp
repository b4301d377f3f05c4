#include "TestSurface.h"
#include "common/KelException.h"
#include "surface/PBMInfo.h"

#include <gtest/gtest.h>

namespace {

constexpr TColour Grey(int level)
{
    return MakeColour(level, level, level);
}

class Display : public testing::Test {
protected:
    void SetUp() override { InitPBMInfo(); }
};

TEST_F(Display, SharedHeaderHasTheIdentityColourTable)
{
    const TBitmapInfo& info = *SharedPBMInfo();
    EXPECT_EQ(info.Header.Size, 40u);
    EXPECT_EQ(info.Header.Planes, 1);
    EXPECT_EQ(info.Header.BitCount, 8);
    EXPECT_EQ(info.Header.Compression, 0u);
    EXPECT_EQ(info.Header.ClrUsed, 0u);
    EXPECT_EQ(info.Colors[0], 0);
    EXPECT_EQ(info.Colors[200], 200);
}

TEST_F(Display, SingleSegmentSurfaceIsOneTransfer)
{
    TTestSurface surface(208, 208, SharedPBMInfo());
    surface.NumberRows();
    TPixelBuffer pixels(208, 208);
    TDeviceContext dc(pixels);
    EXPECT_EQ(surface.Data.Display(dc, {0, 0}, surface.Data.Bounds()), 208);
    EXPECT_EQ(SharedPBMInfo()->Header.Width, 208);
    EXPECT_EQ(SharedPBMInfo()->Header.Height, 208);
    EXPECT_EQ(SharedPBMInfo()->Header.SizeImage, 43264u);
    EXPECT_EQ(pixels.Pixel(0, 0), Grey(0));
    EXPECT_EQ(pixels.Pixel(207, 207), Grey(207));
    EXPECT_FALSE(surface.Segments[0]->IsLocked());
}

TEST_F(Display, PiecesOfTwoSegmentsStackUpwardFromTheBottom)
{
    TTestSurface surface(256, 256, SharedPBMInfo());
    surface.NumberRows();
    TPixelBuffer pixels(10, 20);
    TDeviceContext dc(pixels);
    // Rows 120 ... 135: segment 0 gives 128 ... 135 (lowest), segment 1 gives 120 ... 127.
    EXPECT_EQ(surface.Data.Display(dc, {1, 2}, {0, 120, 4, 136}), 16);
    EXPECT_EQ(pixels.Pixel(1, 2), Grey(120));
    EXPECT_EQ(pixels.Pixel(4, 9), Grey(127));
    EXPECT_EQ(pixels.Pixel(1, 10), Grey(128));
    EXPECT_EQ(pixels.Pixel(1, 17), Grey(135));
    EXPECT_EQ(pixels.Pixel(5, 10), 0u);
    EXPECT_EQ(SharedPBMInfo()->Header.Height, 128);
}

TEST_F(Display, PixelsGoThroughTheSelectedPalette)
{
    TTestSurface surface(2, 1, SharedPBMInfo());
    surface.Data.FillRect({1, 0, 2, 1}, 3);
    TDisplayPalette palette;
    palette.Entries[0] = {1, 2, 3, 0};
    palette.Entries[3] = {200, 100, 50, 0};
    TPixelBuffer pixels(2, 1);
    TDeviceContext dc(pixels);
    dc.SelectPalette(&palette, false);
    surface.Data.Display(dc, {0, 0}, surface.Data.Bounds());
    EXPECT_EQ(pixels.Pixel(0, 0), MakeColour(1, 2, 3));
    EXPECT_EQ(pixels.Pixel(1, 0), MakeColour(200, 100, 50));
}

TEST_F(Display, SurfaceWithoutSegmentsOrHeader)
{
    TTestSurface empty(0, 0);
    TPixelBuffer pixels(4, 4);
    TDeviceContext dc(pixels);
    EXPECT_EQ(empty.Data.Display(dc, {0, 0}, {0, 0, 4, 4}), 0);
    TTestSurface headless(4, 4);
    try {
        headless.Data.Display(dc, {0, 0}, headless.Data.Bounds());
        FAIL();
    } catch (const VX8Exception& e) {
        EXPECT_STREQ(e.what(), "PBMInfo not initialized for Display");
    }
}

TEST_F(Display, FlushDamageShowsEachRectangleAtTheOriginAndEmptiesTheList)
{
    TTestSurface surface(8, 8, SharedPBMInfo());
    surface.Data.FillRect({0, 0, 2, 2}, 50);
    surface.Data.FillRect({6, 6, 8, 8}, 60);
    surface.Data.AddDamage({9, 9, 12, 12});
    TPixelBuffer pixels(20, 20, Grey(255));
    TDeviceContext dc(pixels);
    surface.Data.FlushDamage(dc, {10, 1});
    EXPECT_EQ(pixels.Pixel(10, 1), Grey(50));
    EXPECT_EQ(pixels.Pixel(17, 8), Grey(60));
    EXPECT_EQ(pixels.Pixel(12, 3), Grey(255));
    EXPECT_EQ(surface.Data.Damage.Count, 0);
    surface.Data.FlushDamage(dc, {0, 0});
    EXPECT_EQ(pixels.Pixel(0, 0), Grey(255));
}

} // namespace
