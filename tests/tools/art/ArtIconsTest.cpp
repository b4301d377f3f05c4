#include "art/ArtIcons.h"
#include "art/ArtImage.h"

#include <gtest/gtest.h>

// The pictures are drawn to the size asked, and their rounded outlines leave the corners clear
// for the desktop behind them.
TEST(ArtIcons, EverySizeFillsItsMiddleAndLeavesItsCornersClear)
{
    for (const int32_t size : AppIconSizes) {
        const TCanvas canvas(size, size);
        DrawAppIcon(canvas.Cr(), size);
        EXPECT_LT(canvas.Alpha(0, 0), 0.05) << size;
        EXPECT_LT(canvas.Alpha(size - 1, size - 1), 0.05) << size;
        EXPECT_EQ(canvas.Alpha(size / 2, size / 2), 1) << size;
        EXPECT_EQ(canvas.Alpha(size / 2, size - size / 20 - 2), 1) << size << ", the frame's foot";
    }
    const TCanvas logo(LogoSize, LogoSize);
    DrawMakerLogo(logo.Cr(), LogoSize);
    EXPECT_EQ(logo.Alpha(2, 2), 0);
    EXPECT_EQ(logo.Alpha(LogoSize / 2, 3), 1);
    EXPECT_EQ(logo.Alpha(LogoSize / 2, LogoSize / 2), 1);
}
