#include "solver/MoveOptimiser.h"

#include <gtest/gtest.h>

namespace {

TSolverMove Column(int8_t line, int8_t shift)
{
    return {true, line, shift};
}

TSolverMove Row(int8_t line, int8_t shift)
{
    return {false, line, shift};
}

} // namespace

// On a board of 4 columns and 5 rows: columns are 5 long, rows 4.
TEST(MoveOptimiser, CancelsMergesAndTakesTheShortWayRound)
{
    struct TCase {
        TMoveList Moves;
        TMoveList Shortest;
    };
    const TCase cases[] = {
        {{Column(0, 1), Column(0, -1)}, {}},
        {{Column(2, 1), Column(1, 1), Column(2, -1)}, {Column(1, 1)}},
        {{Column(3, 1), Column(3, 1), Column(3, 1)}, {Column(3, -1), Column(3, -1)}},
        {{Row(1, -1), Row(1, -1), Row(1, -1)}, {Row(1, 1)}},
        {{Row(2, 1), Row(2, 1)}, {Row(2, 1), Row(2, 1)}},
        // A vanished run lets the moves around it meet.
        {{Row(0, 1), Column(1, 1), Row(3, 1), Row(3, -1), Column(1, -1), Row(0, -1)}, {}},
        {{Column(0, 1), Row(0, 1), Column(0, 1)}, {Column(0, 1), Row(0, 1), Column(0, 1)}},
    };
    for (const TCase& c : cases) {
        const TMoveList shortest = OptimiseMoves(c.Moves, 4, 5);
        EXPECT_EQ(shortest, c.Shortest);
        TClassBoard before {4, 5, {}};
        for (int32_t i = 0; i < before.Count(); ++i)
            before.Cells[i] = static_cast<uint8_t>(i);
        TClassBoard after = before;
        before.Apply(c.Moves);
        after.Apply(shortest);
        EXPECT_EQ(before, after);
    }
}
