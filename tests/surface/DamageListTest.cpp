#include "TestSurface.h"

#include <gtest/gtest.h>

namespace {

TEST(DamageList, ContainedRectanglesMergeAndPartialOverlapsStaySeparate)
{
    TDamageList list;
    list.AddRect({10, 10, 20, 20});
    list.AddRect({10, 10, 20, 20});
    list.AddRect({12, 12, 15, 15});
    EXPECT_EQ(DamageRects(list), (std::vector<TRect> {{10, 10, 20, 20}}));
    list.AddRect({0, 0, 30, 30});
    EXPECT_EQ(DamageRects(list), (std::vector<TRect> {{0, 0, 30, 30}}));

    TDamageList partial;
    partial.AddRect({0, 0, 10, 10});
    partial.AddRect({5, 5, 15, 15});
    EXPECT_EQ(DamageRects(partial), (std::vector<TRect> {{0, 0, 10, 10}, {5, 5, 15, 15}}));
}

TEST(DamageList, ReplacementStopsAtTheFirstContainedNode)
{
    TDamageList list;
    list.AddRect({0, 0, 10, 10});
    list.AddRect({20, 20, 30, 30});
    list.AddRect({0, 0, 40, 40});
    EXPECT_EQ(DamageRects(list), (std::vector<TRect> {{0, 0, 40, 40}, {20, 20, 30, 30}}));
}

TEST(DamageList, EmptyRectanglesAreAppendedEachTime)
{
    TDamageList list;
    list.AddRect({5, 5, 5, 9});
    list.AddRect({5, 5, 5, 9});
    EXPECT_EQ(list.Count, 2);
}

TEST(SurfaceDamage, AddDamageClipsToTheSurfaceFirst)
{
    TTestSurface surface(20, 20);
    surface.Data.AddDamage({-5, -5, 10, 10});
    surface.Data.AddDamage({30, 30, 40, 40});
    EXPECT_EQ(
        DamageRects(surface.Data.Damage), (std::vector<TRect> {{0, 0, 10, 10}, {30, 30, 20, 20}}));
    surface.Data.ClearDamage();
    EXPECT_EQ(surface.Data.Damage.Count, 0);
}

TEST(SurfaceDamage, DrawingRecordsItsClippedRectangle)
{
    TTestSurface source(10, 10);
    TTestSurface target(20, 20);
    target.Data.Draw({15, 15}, source.Data, {0, 0, 10, 10});
    target.Data.Draw({25, 0}, source.Data, {0, 0, 10, 10});
    target.Data.FillRect({-9, -9, -1, -1}, 3);
    EXPECT_EQ(
        DamageRects(target.Data.Damage), (std::vector<TRect> {{15, 15, 20, 20}, {0, 0, 0, 0}}));
}

} // namespace
