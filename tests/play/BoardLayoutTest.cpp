#include "play/BoardLayout.h"

#include <gtest/gtest.h>

TEST(BoardLayoutTest, ArrowRectanglesSitInTheMarginsCentredOnTheirLines)
{
    struct TCase {
        int32_t Lines;
        bool IsColumn;
        int32_t Index;
        TRect Expected;
    } const cases[] = {
        {3, true, 1, {63, 32, 83, 52}},
        {3, true, 4, {63, 157, 83, 177}},
        {3, false, 1, {32, 63, 52, 83}},
        {3, false, 4, {157, 63, 177, 83}},
        // 5 x 5: the down and right arrows reach pixel 208, one past the surface.
        {5, true, 1, {31, 0, 51, 20}},
        {5, true, 10, {159, 189, 179, 209}},
        {5, false, 5, {0, 159, 20, 179}},
        {5, false, 6, {189, 31, 209, 51}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TBoardLayout({c.Lines, c.Lines}).ArrowRect(c.IsColumn, c.Index), c.Expected)
            << c.Lines << " lines, column " << c.IsColumn << ", arrow " << c.Index;
}

// Also: a click in the gap between two arrows (dx mod 32 >= 20) hits nothing.
TEST(BoardLayoutTest, ExactlyThePixelsOfTheArrowsHitAndEachHitsItsOwnArrow)
{
    for (int32_t cols = 3; cols <= 5; ++cols)
        for (int32_t rows = 3; rows <= 5; ++rows) {
            const TBoardLayout layout {cols, rows};
            int32_t hits = 0;
            for (int32_t y = -2; y < 212; ++y)
                for (int32_t x = -2; x < 212; ++x)
                    if (const auto arrow = layout.ArrowAt(x, y)) {
                        ++hits;
                        const TRect r = layout.ArrowRect(arrow->IsColumn, arrow->Index);
                        ASSERT_TRUE(x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
                            << cols << "x" << rows << " at " << x << "," << y;
                    }
            EXPECT_EQ(hits, 2 * (cols + rows) * ArrowSize * ArrowSize) << cols << "x" << rows;
        }
}
