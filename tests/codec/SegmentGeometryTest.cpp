#include "common/KelException.h"
#include "codec/VX8ImageSegment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using S = TVX8ImageSegment;

struct TGeometryExample {
    uint16_t Width, Height, Stride, Count;
    std::vector<uint16_t> Lines; // per segment
};

TEST(SegmentGeometry, ExamplesGiveCountLinesAndBytes)
{
    const std::vector<TGeometryExample> examples = {
        {208, 208, 208, 1, {208}},
        {255, 255, 256, 1, {255}},
        {256, 256, 256, 2, {128, 128}},
        {640, 480, 640, 5, {96, 96, 96, 96, 96}},
        {1024, 768, 1024, 13, {60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 48}},
        {40000, 3, 40000, 3, {1, 1, 1}},
        {1, 1, 4, 1, {1}},
    };
    for (const auto& e : examples) {
        SCOPED_TRACE(testing::Message() << e.Width << " x " << e.Height);
        EXPECT_EQ(S::RowStride(e.Width), e.Stride);
        ASSERT_EQ(S::SegmentCount(e.Width, e.Height), e.Count);
        for (uint16_t k = 0; k < e.Count; ++k) {
            EXPECT_EQ(S::SegmentLines(e.Width, e.Height, k), e.Lines[k]);
            EXPECT_EQ(S::SegmentBytes(e.Width, e.Height, k), e.Lines[k] * e.Stride);
        }
        EXPECT_TRUE(S::GeometryFits(e.Width, e.Height));
    }
    EXPECT_EQ(S::SegmentBytes(255, 255, 0), 65280);
}

TEST(SegmentGeometry, MaskRowsRoundToThirtyTwoBits)
{
    EXPECT_EQ(S::MaskRowStride(1), 4);
    EXPECT_EQ(S::MaskRowStride(32), 4);
    EXPECT_EQ(S::MaskRowStride(33), 8);
    EXPECT_EQ(S::SegmentMaskBytes(256, 256, 1), 128 * 32);
}

TEST(SegmentGeometry, EmptySizesHaveNoSegments)
{
    EXPECT_EQ(S::SegmentCount(0, 10), 0);
    EXPECT_EQ(S::SegmentCount(10, 0), 0);
    EXPECT_EQ(S::SegmentLines(10, 0, 0), 0);
}

TEST(SegmentGeometry, WidthAbove65280IsRejectedInsteadOfSearching)
{
    EXPECT_EQ(S::SegmentCount(65280, 1), 1);
    EXPECT_THROW(S::SegmentCount(65281, 1), VX8Exception);
    EXPECT_THROW(S::SegmentLines(65535, 2, 0), VX8Exception);
    EXPECT_FALSE(S::GeometryFits(65281, 1));
}

TEST(SegmentGeometry, SizesWhoseRowsTheSegmentsCannotHoldDoNotFit)
{
    // The rules give 5 segments of 13,056 rows, a last of 13,057, and a count of 6.
    EXPECT_EQ(S::SegmentCount(1, 65281), 6);
    EXPECT_FALSE(S::GeometryFits(1, 65281));
    // More than 255 segments.
    EXPECT_FALSE(S::GeometryFits(65280, 256));
    EXPECT_TRUE(S::GeometryFits(65280, 255));
}

} // namespace
