#include "solver/BlockBuilder.h"

#include "puzzle/TestBoards.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

TClassPair ScrambledPair(TRandomSource& random, int32_t cols, int32_t rows, bool distinct)
{
    const TPuzzleBoard puzzle = ScrambledGame(random, cols, rows, distinct);
    return ClassifyBoards(puzzle.Current, puzzle.Target, cols, rows);
}

} // namespace

TEST(BlockBuilder, ScrambledBoardsBuiltByRowsOrInPhasesComeToTheirTarget)
{
    TRuntimeRandom random(11);
    // 3 x 3 boards have no frame for the phases and are built row by row.
    for (const auto& [cols, rows, games] : {std::tuple {3, 3, 12}, {4, 3, 2}, {5, 5, 2}})
        for (int32_t game = 0; game < games; ++game) {
            const TClassPair pair = ScrambledPair(random, cols, rows, game % 2 == 1);
            const std::optional<TMoveList> moves = BuildSolution(pair);
            ASSERT_TRUE(moves.has_value()) << cols << " x " << rows << ", game " << game;
            TClassBoard board = pair.Current;
            board.Apply(*moves);
            EXPECT_EQ(board, pair.Target) << cols << " x " << rows << ", game " << game;
        }
}

TEST(BlockBuilder, AnExchangeOfTwoTilesOnLinesOfOddLengthIsNotBuilt)
{
    TRuntimeRandom random(12);
    TClassPair pair = ScrambledPair(random, 3, 3, true);
    std::swap(pair.Current.Cells[0], pair.Current.Cells[1]);
    EXPECT_FALSE(BuildSolution(pair).has_value());
}

TEST(BlockBuilder, ACancelledBuildReturnsNothing)
{
    TRuntimeRandom random(13);
    const std::atomic<bool> cancel {true};
    EXPECT_FALSE(BuildSolution(ScrambledPair(random, 5, 5, false), &cancel).has_value());
}
