#include "TestSurface.h"
#include "common/KelException.h"
#include "support/ExpectFailure.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(SurfaceRows, RowsAreStoredBottomUp)
{
    TTestSurface surface(208, 208);
    EXPECT_EQ(surface.Data.LineBytes, 208);
    EXPECT_EQ(surface.Data.SegmentCount, 1);
    const uint8_t* base = surface.Segments[0]->Lock();
    EXPECT_EQ(surface.Data.StartLine(3, 0), base + 207 * 208 + 3);
    EXPECT_EQ(surface.Data.StartLine(0, 207), base);
    EXPECT_EQ(TTestSurface(209, 1).Data.LineBytes, 212);
}

TEST(SurfaceRows, NextStartLineCrossesIntoTheNextSegment)
{
    TTestSurface surface(256, 256);
    surface.NumberRows();
    int32_t y = 126;
    uint8_t* p = surface.Data.StartLine(5, y);
    p = surface.Data.NextStartLine(p, 5, y);
    EXPECT_EQ(*p, 127);
    p = surface.Data.NextStartLine(p, 5, y);
    EXPECT_EQ(y, 128);
    EXPECT_EQ(*p, 128);
    EXPECT_FALSE(surface.Segments[1]->IsLocked());
    EXPECT_TRUE(surface.Segments[0]->IsLocked());
}

TEST(SurfaceRows, RowAccessOutsideTheSurfaceFails)
{
    TTestSurface surface(10, 5);
    TVX8ImageData& data = surface.Data;
    const std::string start = "StartLine: co-ordinates outside drawing area";
    ExpectFailure([&] { data.StartLine(-1, 0); }, start);
    ExpectFailure([&] { data.StartLine(10, 0); }, start);
    ExpectFailure([&] { data.StartLine(0, 5); }, start);
    ExpectFailure(
        [&] { data.UnlockSegment(0, -1); }, "UnlockSegment: co-ordinates outside drawing area");
    int32_t y = 4;
    uint8_t* last = data.StartLine(0, y);
    ExpectFailure([&] { data.NextStartLine(last, 0, y); },
        "NextStartLine: co-ordinates outside drawing area");
    EXPECT_EQ(y, 5);
    surface.Segments[0]->FreeBuffer();
    ExpectFailure([&] { data.StartLine(0, 0); }, "StartLine: Lock failed");
}

TEST(SurfaceRows, SetupRejectsSegmentsThatDoNotFitTheSize)
{
    TTestSurface small(4, 4);
    TVX8ImageData data;
    EXPECT_THROW(data.Setup(256, 256, small.Segments, 0, false, nullptr), VX8Exception);
}

TEST(SurfaceFill, ReversedRectanglesFillTheirNormalisedArea)
{
    TTestSurface surface(8, 8);
    surface.Data.FillRect({6, 5, 2, 3}, 9);
    EXPECT_EQ(surface.Pixel(2, 3), 9);
    EXPECT_EQ(surface.Pixel(5, 4), 9);
    EXPECT_EQ(surface.Pixel(6, 4), 0);
    EXPECT_EQ(surface.Pixel(2, 5), 0);
    surface.Data.HorzLine({-3, 7}, 5, 4);
    surface.Data.VertLine({7, 6}, 100, 5);
    EXPECT_EQ(surface.Pixel(1, 7), 4);
    EXPECT_EQ(surface.Pixel(2, 7), 0);
    EXPECT_EQ(surface.Pixel(7, 6), 5);
}

TEST(SurfaceFill, LinesAtTheInt32LimitsDrawNothingAndRecordAnEmptyRectangle)
{
    TTestSurface surface(8, 8);
    surface.Data.HorzLine({INT32_MAX, 0}, INT32_MAX, 1);
    surface.Data.VertLine({0, INT32_MIN}, INT32_MIN, 1);
    EXPECT_EQ(surface.Pixels(), std::vector<uint8_t>(64, 0));
    EXPECT_EQ(DamageRects(surface.Data.Damage), (std::vector<TRect> {{}, {}}));
}

TEST(SurfaceDraw, CopiesClipAndShiftNegativeSourceOrigins)
{
    TTestSurface source(4, 4);
    source.Data.FillRect({0, 0, 4, 4}, 7);
    TTestSurface target(10, 10);
    target.Data.Draw({2, 2}, source.Data, {-5, -3, 4, 4});
    EXPECT_EQ(target.Pixel(6, 4), 0);
    EXPECT_EQ(target.Pixel(7, 5), 7);
    EXPECT_EQ(target.Pixel(9, 6), 7);
    target.Data.Draw({8, -1}, source.Data, {0, 0, 4, 4});
    EXPECT_EQ(target.Pixel(9, 2), 7);
    EXPECT_EQ(target.Pixel(9, 3), 0);
}

TEST(SurfaceDraw, ShiftsAtTheInt32LimitsNeitherWrapNorOverflow)
{
    TTestSurface source(4, 4);
    source.Data.FillRect({0, 0, 4, 4}, 7);
    TTestSurface target(8, 8);
    target.Data.Draw({INT32_MIN, INT32_MAX}, source.Data, {INT32_MIN, 0, INT32_MAX, 4});
    EXPECT_EQ(target.Pixels(), std::vector<uint8_t>(64, 0));
    EXPECT_TRUE(DamageRects(target.Data.Damage).empty());

    target.Data.Draw({INT32_MIN + 1, 0}, source.Data, {INT32_MIN, 0, INT32_MAX, INT32_MAX});
    EXPECT_EQ(target.Pixel(0, 0), 0);
    EXPECT_EQ(target.Pixel(1, 0), 7);
    EXPECT_EQ(target.Pixel(4, 3), 7);
    EXPECT_EQ(target.Pixel(5, 3), 0);
    EXPECT_EQ(DamageRects(target.Data.Damage), (std::vector<TRect> {{1, 0, 5, 4}}));
}

TEST(SurfaceDraw, TransparentSourcePixelsLeaveTheTargetUnchanged)
{
    TTestSurface source(3, 1);
    source.Data.HorzLine({0, 0}, 3, 6);
    *source.Data.StartLine(1, 0) = 2;
    for (bool transparent : {true, false}) {
        source.Data.Transparent = transparent;
        source.Data.TransparentIndex = 6;
        TTestSurface target(3, 1);
        target.Data.HorzLine({0, 0}, 3, 1);
        target.Data.Draw({0, 0}, source.Data, source.Data.Bounds());
        EXPECT_EQ(target.Pixel(0, 0), transparent ? 1 : 6);
        EXPECT_EQ(target.Pixel(1, 0), 2);
    }
}

TEST(SurfaceDraw, CopiesAcrossSegmentsAndUnlocksWhenDone)
{
    TTestSurface source(256, 256);
    source.NumberRows();
    TTestSurface target(300, 300);
    target.Data.Draw({10, 20}, source.Data, {0, 100, 256, 200});
    EXPECT_EQ(target.Pixel(10, 20), 100);
    EXPECT_EQ(target.Pixel(265, 119), 199);
    EXPECT_EQ(target.Pixel(10, 120), 0);
    for (const auto& segment : source.Segments)
        EXPECT_FALSE(segment->IsLocked());
}

// Each of the eight one-pixel shifts of a rectangle within one surface, which crosses the border
// of its two segments, must give what drawing from an untouched copy gives.
TEST(SurfaceDraw, OverlappingCopiesWithinOneSurfaceMatchACopyFirst)
{
    const auto paint = [](TTestSurface& surface, bool transparent) {
        for (int32_t y = 0; y < surface.Data.Height; ++y)
            for (int32_t x = 0; x < surface.Data.Width; ++x)
                *surface.Data.StartLine(x, y) = static_cast<uint8_t>((x * 7 + y * 13) % 23);
        surface.Data.Transparent = transparent;
        surface.Data.TransparentIndex = 5;
        for (const auto& segment : surface.Segments)
            segment->Unlock();
    };
    const TRect r {2, 100, 250, 160};
    for (bool transparent : {false, true})
        for (int32_t dx = -1; dx <= 1; ++dx)
            for (int32_t dy = -1; dy <= 1; ++dy) {
                if (dx == 0 && dy == 0)
                    continue;
                SCOPED_TRACE(testing::Message()
                    << "shift " << dx << "," << dy << " transparent " << transparent);
                TTestSurface surface(256, 256);
                TTestSurface expected(256, 256);
                TTestSurface copy(256, 256);
                for (TTestSurface* s : {&surface, &expected, &copy})
                    paint(*s, transparent);
                const TPoint p {r.Left + dx, r.Top + dy};
                surface.Data.Draw(p, surface.Data, r);
                expected.Data.Draw(p, copy.Data, r);
                for (const auto& segment : surface.Segments)
                    EXPECT_FALSE(segment->IsLocked());
                EXPECT_EQ(surface.Pixels(), expected.Pixels());
            }
}

} // namespace
