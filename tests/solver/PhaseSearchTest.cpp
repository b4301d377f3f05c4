#include "solver/PhaseSearch.h"
#include "solver/PhaseBuilder.h"
#include "solver/TwoRowTable.h"

#include "puzzle/ScriptedRandom.h"
#include "puzzle/TestBoards.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr int32_t Side = 5;

TSolverMove RandomMove(TRandomSource& random)
{
    return {random.Random(2) == 0, static_cast<int8_t>(random.Random(Side)),
        static_cast<int8_t>(random.Random(2) == 0 ? 1 : -1)};
}

// A 5 x 5 board of distinct tiles, each numbered by its target cell, after random moves.
TClassBoard ScrambledTiles(TRandomSource& random, int32_t moves)
{
    TClassBoard board {Side, Side, {}};
    for (int32_t i = 0; i < board.Count(); ++i)
        board.Cells[i] = static_cast<uint8_t>(i);
    for (int32_t i = 0; i < moves; ++i)
        board.Apply(RandomMove(random));
    return board;
}

// The problem of bringing the tiles of these target cells home, bounded by the 2 x 2 blocks
// whose top left cells are listed.
TPhaseProblem BlockProblem(const TClassBoard& board, const std::vector<uint8_t>& goals,
    const std::vector<uint8_t>& blockCorners)
{
    TPhaseProblem problem;
    std::map<int32_t, uint8_t> trackedAt;
    for (const uint8_t goal : goals) {
        for (int32_t cell = 0; cell < board.Count(); ++cell)
            if (board.Cells[cell] == goal)
                problem.Cell.push_back(static_cast<uint8_t>(cell));
        trackedAt[goal] = static_cast<uint8_t>(problem.Goal.size());
        problem.Goal.push_back(goal);
    }
    const TPatternTable* table
        = &TPatternTable::ForShape(Side, Side, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    for (const uint8_t corner : blockCorners) {
        const int32_t right = corner / Side * Side + (corner + 1) % Side;
        problem.Patterns.push_back({table,
            {trackedAt.at(corner), trackedAt.at(right), trackedAt.at((corner + Side) % 25),
                trackedAt.at((right + Side) % 25)}});
    }
    return problem;
}

// A game board of the model, or one of distinct tiles, scrambled by the model's own scramble.
TClassPair ScrambledPair(TRandomSource& random, int32_t cols, int32_t rows, bool distinct)
{
    const TPuzzleBoard puzzle = ScrambledGame(random, cols, rows, distinct);
    return ClassifyBoards(puzzle.Current, puzzle.Target, cols, rows);
}

} // namespace

TEST(PhaseSearch, PatternDistancesMatchABreadthFirstSearchOfTheirTiles)
{
    struct TCase {
        int32_t Cols;
        int32_t Rows;
        TPatternTable::TOffsets Offsets;
        std::size_t Reachable;
    };
    // Two tiles side by side, and a column's upper three cells with two cells left of them.
    const std::vector<TCase> cases {{Side, Side, {{0, 0}, {1, 0}}, 25 * 24},
        {3, 5, {{0, 0}, {0, 1}, {0, 2}, {-1, 0}, {-1, 1}}, 15 * 14 * 13 * 12 * 11}};
    for (const TCase& test : cases) {
        const int32_t cells = test.Cols * test.Rows;
        const auto tiles = static_cast<int32_t>(test.Offsets.size());
        // Each placement as a number with a digit per tile, the first tile's the highest.
        const auto cellOf = [&](int64_t key, int32_t tile) {
            for (int32_t k = tiles - 1; k > tile; --k)
                key /= cells;
            return static_cast<int32_t>(key % cells);
        };
        int64_t home = 0;
        for (const auto& [col, row] : test.Offsets)
            home = home * cells + (row + test.Rows) % test.Rows * test.Cols
                + (col + test.Cols) % test.Cols;
        std::vector<int8_t> distance(static_cast<std::size_t>(std::pow(cells, tiles)), -1);
        distance[home] = 0;
        std::vector<int64_t> frontier {home};
        const TCellMoves cellMoves(test.Cols, test.Rows);
        std::size_t reached = 1;
        for (int8_t depth = 1; !frontier.empty(); ++depth) {
            std::vector<int64_t> next;
            for (const int64_t key : frontier)
                for (const auto& to : cellMoves.To) {
                    int64_t moved = 0;
                    for (int32_t k = 0; k < tiles; ++k)
                        moved = moved * cells + to[cellOf(key, k)];
                    if (distance[moved] < 0) {
                        distance[moved] = depth;
                        next.push_back(moved);
                    }
                }
            reached += next.size();
            frontier = std::move(next);
        }
        ASSERT_EQ(reached, test.Reachable);

        const TPatternTable& table = TPatternTable::ForShape(test.Cols, test.Rows, test.Offsets);
        // Read with the first tile's goal anywhere on the wrapping board.
        for (const int32_t goal : {0, cells / 2 + 1, cells - 1}) {
            int32_t wrong = 0;
            for (int64_t key = 0; key < static_cast<int64_t>(distance.size()); ++key) {
                if (distance[key] < 0)
                    continue;
                uint32_t index = 0;
                for (int32_t k = 0; k < tiles; ++k) {
                    const int32_t cell = cellOf(key, k);
                    index += table.Term(k,
                        (cell / test.Cols + goal / test.Cols) % test.Rows * test.Cols
                            + (cell + goal) % test.Cols,
                        goal);
                }
                wrong += table.At(index) == distance[key] ? 0 : 1;
            }
            EXPECT_EQ(wrong, 0) << test.Cols << " x " << test.Rows << ", goal " << goal;
        }
    }
}

TEST(PhaseSearch, BlocksComeHomeInTheFewestMovesAndPlacedTilesStayHome)
{
    TRuntimeRandom random(TestSeed());
    for (int32_t game = 0; game < 20; ++game) {
        const int32_t scramble = 1 + random.Random(6);
        TClassBoard board = ScrambledTiles(random, scramble);
        // A 2 x 2 block's table is exact: the search needs just that many moves.
        const TPhaseProblem block = BlockProblem(board, {6, 7, 11, 12}, {6});
        const TPhaseResult first = SolvePhase(block, {1'000'000, 1, nullptr});
        ASSERT_EQ(first.Solutions.size(), 1u) << "game " << game;
        EXPECT_EQ(static_cast<int32_t>(first.Solutions[0].size()), PhaseBound(block));
        EXPECT_LE(static_cast<int32_t>(first.Solutions[0].size()), scramble);
        board.Apply(first.Solutions[0]);

        // Growing it to 2 x 3 keeps it.
        const TPhaseProblem grown = BlockProblem(board, {6, 7, 11, 12, 8, 13}, {6, 7});
        const TPhaseResult second = SolvePhase(grown, {1'000'000, 3, nullptr});
        ASSERT_FALSE(second.Solutions.empty()) << "game " << game;
        for (const TMoveList& moves : second.Solutions) {
            TClassBoard after = board;
            after.Apply(moves);
            for (const uint8_t goal : {6, 7, 8, 11, 12, 13})
                EXPECT_EQ(after.Cells[goal], goal) << "game " << game;
        }
    }
}

TEST(PhaseSearch, ABudgetTooSmallGivesNoSolution)
{
    TRuntimeRandom random(TestSeed());
    const TClassBoard board = ScrambledTiles(random, 40);
    const TPhaseProblem problem = BlockProblem(board, {0, 1, 2, 5, 6, 7, 10, 11, 12}, {0, 1, 5, 6});
    EXPECT_TRUE(SolvePhase(problem, {10, 1, nullptr}).Solutions.empty());
}

TEST(PhaseSearch, ASearchCappedBelowTheFewestMovesFindsNothing)
{
    TRuntimeRandom random(TestSeed());
    for (int32_t game = 0; game < 6; ++game) {
        const TClassBoard board = ScrambledTiles(random, 3 + random.Random(4));
        const TPhaseProblem block = BlockProblem(board, {6, 7, 11, 12}, {6});
        const int32_t fewest = PhaseBound(block);
        for (const int32_t cap : {fewest - 1, fewest, fewest + 1}) {
            TPhaseLimits limits {1'000'000, 1, nullptr};
            limits.MaxMoves = cap;
            const TPhaseResult result = SolvePhase(block, limits);
            EXPECT_EQ(result.Solutions.size(), cap < fewest ? 0u : 1u)
                << "game " << game << ", cap " << cap;
        }
    }
}

TEST(PhaseBuilder, FiveByFiveBuildsOfFixedBoardsGainFromJoiningPhases)
{
    // Fixed boards: budgets count nodes, so the lengths do not depend on the machine's speed.
    // Building every phase on its own alone took 407 moves on them, and with joined phases but
    // a beam of 32 bounded by 2 x 2 blocks alone, 383.
    int32_t total = 0;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        TRuntimeRandom random(seed);
        const TClassPair pair = ScrambledPair(random, 5, 5, false);
        const std::optional<TMoveList> moves = BuildInPhases(pair);
        ASSERT_TRUE(moves) << "seed " << seed;
        TClassBoard board = pair.Current;
        board.Apply(*moves);
        EXPECT_EQ(board, pair.Target) << "seed " << seed;
        total += static_cast<int32_t>(moves->size());
    }
    EXPECT_LE(total, 371);
}

TEST(PhaseBuilder, BuildsOnTwoThreadsAreTheSameEveryTime)
{
    const uint32_t seed = TestSeed();
    TRuntimeRandom random(seed);
    for (const bool distinct : {false, true}) {
        const TClassPair pair = ScrambledPair(random, 5, 5, distinct);
        const std::optional<TMoveList> first = BuildInPhases(pair);
        for (int32_t run = 0; run < 2; ++run)
            EXPECT_EQ(BuildInPhases(pair), first) << "seed " << seed << ", run " << run;
    }
}

TEST(PhaseBuilder, BuildsSolveBoardsOfEveryFrameAndStayShort)
{
    TRuntimeRandom random(TestSeed());
    const std::pair<int32_t, int32_t> sizes[] = {{5, 5}, {4, 5}, {5, 4}, {4, 4}, {3, 5}, {5, 3}};
    for (const auto& [cols, rows] : sizes)
        for (int32_t game = 0; game < 6; ++game) {
            const TClassPair pair = ScrambledPair(random, cols, rows, game % 2 == 1);

            const std::optional<TMoveList> moves = BuildInPhases(pair);

            ASSERT_TRUE(moves) << cols << " x " << rows << ", game " << game;
            TClassBoard board = pair.Current;
            board.Apply(*moves);
            EXPECT_EQ(board, pair.Target) << cols << " x " << rows << ", game " << game;
            // The row-by-row build needs 50 to 60 moves on most boards of this size.
            if (cols == 5 && rows == 5) {
                EXPECT_LE(moves->size(), 46u) << "game " << game;
            }
        }
}

TEST(PhaseBuilder, ACancelledBuildGivesNothing)
{
    TRuntimeRandom random(TestSeed());
    const std::atomic<bool> cancel {true};
    EXPECT_FALSE(BuildInPhases(ScrambledPair(random, 5, 5, true), &cancel));
}

TEST(TwoRows, TheSearchedFinishSolvesTheRowsInNoMoreMovesThanTheStages)
{
    TRuntimeRandom random(TestSeed());
    int32_t shorter = 0;
    for (int32_t game = 0; game < 12; ++game) {
        // Distinct tiles, or pairs of equal ones in the last two rows; only those rows stirred,
        // by a column turned out and back around a turn of the lower row.
        TClassBoard goal {Side, Side, {}};
        for (int32_t i = 0; i < goal.Count(); ++i)
            goal.Cells[i] = static_cast<uint8_t>(game % 2 == 0 || i < 15 ? i : 15 + (i - 15) / 2);
        TClassBoard board = goal;
        for (int32_t step = 0; step < 12; ++step) {
            const TSolverMove column {true, static_cast<int8_t>(random.Random(Side)), -1};
            board.Apply(column);
            board.Apply({false, 4, static_cast<int8_t>(random.Random(2) == 0 ? 1 : -1)});
            board.Apply(column.Inverse());
            board.Apply({false, static_cast<int8_t>(3 + random.Random(2)), 1});
        }
        int64_t nodesLeft = 5'000;

        const std::optional<TMoveList> stages = FinishTwoRows(board, goal);
        const std::optional<TMoveList> searched = FinishTwoRowsSearched(board, goal, nodesLeft);

        ASSERT_TRUE(stages && searched) << "game " << game;
        EXPECT_LE(searched->size(), stages->size()) << "game " << game;
        shorter += searched->size() < stages->size() ? 1 : 0;
        TClassBoard after = board;
        after.Apply(*searched);
        EXPECT_EQ(after, goal) << "game " << game;
    }
    EXPECT_GT(shorter, 0);
}
