#include "common/KelStd.h"
#include "common/KelRect.h"

#include <gtest/gtest.h>

TEST(KelStd, ClampTestsLowerBoundFirst)
{
    EXPECT_EQ(Clamp(5, 0, 1), 1);
    EXPECT_EQ(Clamp(-3, 0, 1), 0);
    EXPECT_EQ(Clamp(1, 0, 1), 1);
    // Low above High: below Low gives Low, everything else High.
    EXPECT_EQ(Clamp(3, 5, 2), 5);
    EXPECT_EQ(Clamp(7, 5, 2), 2);
}

TEST(KelStd, TextContainsComparesExactly)
{
    EXPECT_TRUE(TextContains("dev/fact", "/home/me/dev/factory/bin/"));
    EXPECT_FALSE(TextContains("dev/fact", "/home/me/Dev/Fact/bin/"));
    EXPECT_FALSE(TextContains("", "anything"));
}

TEST(KelRect, RectAtPlacesTheSizeAtThePoint)
{
    EXPECT_EQ(RectAt({10, 20, 40, 60}, {0, 0}), (TRect {0, 0, 30, 40}));
    EXPECT_EQ(RectAt({10, 20, 40, 60}, {-5, 7}), (TRect {-5, 7, 25, 47}));
}

TEST(KelRect, IntersectRectOfDisjointOrEmptyRectsIsAllZero)
{
    TRect result {1, 2, 3, 4};
    EXPECT_TRUE(IntersectRect(result, {0, 0, 10, 10}, {5, -5, 20, 6}));
    EXPECT_EQ(result, (TRect {5, 0, 10, 6}));

    EXPECT_FALSE(IntersectRect(result, {0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_EQ(result, TRect {});
    result = {1, 2, 3, 4};
    EXPECT_FALSE(IntersectRect(result, {5, 5, 5, 9}, {0, 0, 10, 10}));
    EXPECT_EQ(result, TRect {});
}

TEST(KelStd, LowerShortNameCutsTenCharactersToEightLowered)
{
    EXPECT_EQ(LowerShortName("ARRU_UPXYZ"), "arru_upx");
    EXPECT_EQ(LowerShortName("Tile"), "tile");
    EXPECT_EQ(LowerNameText("WellDoneBanner"), "welldonebanner");
}

TEST(KelStd, LowerNameLeavesBytesOutsideAToZUnchanged)
{
    // '@' and '[' border 'A' and 'Z'; 0xC4 and 0xDC are accented capitals in 8-bit code pages.
    const std::string name = "@[`{\xC4\xDC\xFF"
                             "9";
    EXPECT_EQ(LowerNameText(name), name);
    EXPECT_EQ(LowerShortName("\xC4"
                             "BC\xDC"
                             "DEFGH"),
        "\xC4"
        "bc\xDC"
        "defg");
}
