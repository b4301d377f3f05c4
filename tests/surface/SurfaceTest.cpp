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
    surface.Data.HorzLine({INT32_MAX, 0}, INT32_MAX, 1);
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
    target.Data.Draw({INT32_MIN, INT32_MAX}, source.Data, {INT32_MIN, 0, INT32_MAX, 4});
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

} // namespace
