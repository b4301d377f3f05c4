#include "solver/MoveOptimiser.h"
#include "solver/WindowOptimiser.h"

#include "puzzle/ScriptedRandom.h"

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

TEST(MoveOptimiser, StretchesWithAShorterTwinAreReplaced)
{
    // A row and a column turned out and back trade three tiles; three times over, nothing moves.
    TMoveList cycles;
    for (int32_t i = 0; i < 3; ++i)
        cycles.insert(cycles.end(), {Row(0, 1), Column(0, 1), Row(0, -1), Column(0, -1)});
    TClassBoard board {5, 5, {}};
    for (int32_t i = 0; i < board.Count(); ++i)
        board.Cells[i] = static_cast<uint8_t>(i);
    TClassBoard after = board;
    after.Apply(cycles);
    ASSERT_EQ(after, board);
    ASSERT_EQ(OptimiseMoves(cycles, 5, 5).size(), cycles.size());

    EXPECT_TRUE(ShortenWindows(cycles, 5, 5).empty());
}

TEST(MoveOptimiser, ShortenedMovesKeepTheirEffectAndNeverGrow)
{
    TRuntimeRandom random(TestSeed());
    for (const auto& [cols, rows] : {std::pair {5, 5}, {4, 5}, {3, 4}})
        for (int32_t game = 0; game < 10; ++game) {
            TMoveList moves;
            for (int32_t i = 0; i < 30; ++i) {
                const bool isColumn = random.Random(2) == 0;
                moves.push_back(
                    {isColumn, static_cast<int8_t>(random.Random(isColumn ? cols : rows)),
                        static_cast<int8_t>(random.Random(2) == 0 ? 1 : -1)});
            }
            TClassBoard before {cols, rows, {}};
            for (int32_t i = 0; i < before.Count(); ++i)
                before.Cells[i] = static_cast<uint8_t>(i);
            TClassBoard after = before;

            const TMoveList shorter = ShortenWindows(moves, cols, rows);

            EXPECT_LE(shorter.size(), OptimiseMoves(moves, cols, rows).size());
            before.Apply(moves);
            after.Apply(shorter);
            EXPECT_EQ(before, after) << cols << " x " << rows << ", game " << game;
        }
}
