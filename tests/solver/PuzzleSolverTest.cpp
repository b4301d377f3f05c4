#include "solver/PuzzleSolver.h"
#include "solver/BuiltOnce.h"
#include "solver/SeventhTileTable.h"
#include "solver/TilePatternTable.h"

#include "common/KelException.h"
#include "puzzle/ScriptedRandom.h"
#include "puzzle/TestBoards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <limits>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

// Plays the solution on the model and tells whether the board is then solved.
bool SolvesOnTheModel(TPuzzleBoard board, const TSolution& solution)
{
    for (const TArrow& arrow : solution.Moves) {
        EXPECT_TRUE(board.IsArrow(arrow.IsColumn, arrow.Index));
        board.ApplyArrow(arrow.IsColumn, arrow.Index);
    }
    return board.IsSolved();
}

// A 3 x 3 board's arms row by row, which tells its tiles apart on the boards used here.
std::string Arms3x3(const TRoadBoard& board)
{
    std::string arms;
    for (int32_t r = 1; r <= 3; ++r)
        for (int32_t c = 1; c <= 3; ++c)
            arms += static_cast<char>(board.Cell(c, r).Arms);
    return arms;
}

// Breadth first over 3 x 3 arrangements from the target, independent of the solver.
std::unordered_map<std::string, int32_t> Distances3x3(const std::string& target)
{
    std::unordered_map<std::string, int32_t> distance {{target, 0}};
    std::vector<std::string> frontier {target};
    for (int32_t depth = 1; !frontier.empty(); ++depth) {
        std::vector<std::string> next;
        for (const std::string& arms : frontier)
            for (int32_t line = 0; line < 3; ++line)
                for (const bool column : {true, false})
                    for (const int32_t turn : {1, 2}) {
                        std::string moved = arms;
                        for (int32_t i = 0; i < 3; ++i) {
                            const int32_t j = (i + turn) % 3;
                            if (column)
                                moved[i * 3 + line] = arms[j * 3 + line];
                            else
                                moved[line * 3 + i] = arms[line * 3 + j];
                        }
                        if (distance.emplace(moved, depth).second)
                            next.push_back(moved);
                    }
        frontier = std::move(next);
    }
    return distance;
}

// With repeated tiles, the fewest moves of any way to tell the equal tiles apart.
int32_t Fewest3x3(const std::unordered_map<std::string, int32_t>& distinct,
    const std::string& distinctTarget, const std::string& current, const std::string& target)
{
    int32_t fewest = std::numeric_limits<int32_t>::max();
    std::string labelled(9, ' ');
    std::vector<bool> used(9);
    std::function<void(std::size_t)> label = [&](std::size_t cell) {
        if (cell == labelled.size()) {
            const auto it = distinct.find(labelled);
            if (it != distinct.end())
                fewest = std::min(fewest, it->second);
            return;
        }
        for (std::size_t home = 0; home < 9; ++home)
            if (!used[home] && target[home] == current[cell]) {
                used[home] = true;
                labelled[cell] = distinctTarget[home];
                label(cell + 1);
                used[home] = false;
            }
    };
    label(0);
    return fewest;
}

} // namespace

TEST(PuzzleSolver, SolvedBoardsAndBoardsOfOneRepeatedTileNeedNoMoves)
{
    TRuntimeRandom random(TestSeed());
    for (int32_t cols = 3; cols <= 5; ++cols)
        for (int32_t rows = 3; rows <= 5; ++rows) {
            TPuzzleBoard board;
            board.SetCols(cols);
            board.SetRows(rows);
            board.NewPuzzle(random);
            EXPECT_EQ(SolvePuzzle(board)->Moves.size(), 0u);

            // Tiles that differ only in the colours of absent arms are the same tile.
            for (int32_t c = 1; c <= cols; ++c)
                for (int32_t r = 1; r <= rows; ++r) {
                    board.Target.Cell(c, r) = {ArmEast | ArmWest, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
                    board.Current.Cell(c, r) = board.Target.Cell(c, r);
                    board.Current.Cell(c, r).ArmColours[c % 2] = static_cast<uint8_t>(r);
                }
            const std::optional<TSolution> solution = SolvePuzzle(board);
            EXPECT_TRUE(solution->Moves.empty() && solution->Shortest);
        }
}

TEST(PuzzleSolver, ScramblesOfEverySizeAreSolvedOnTheModel)
{
    TRuntimeRandom random(TestSeed());
    // Mostly the short way, with a few searches for the fewest moves.
    TSolveOptions fallBackSoon;
    fallBackSoon.MaxNodes = 2000;
    fallBackSoon.MaxShorteningNodes = 4000;
    TSolveOptions searchABit;
    searchABit.MaxNodes = 20000;
    searchABit.MaxShorteningNodes = 20000;
    for (int32_t cols = 3; cols <= 5; ++cols)
        for (int32_t rows = 3; rows <= 5; ++rows)
            for (int32_t game = 0; game < 24; ++game) {
                const TPuzzleBoard board = ScrambledGame(random, cols, rows, game % 2 == 1);
                const auto solution = SolvePuzzle(board, game % 4 == 0 ? searchABit : fallBackSoon);
                ASSERT_TRUE(SolvesOnTheModel(board, *solution))
                    << cols << " x " << rows << ", game " << game;
            }
}

TEST(PuzzleSolver, AWayPastTheBudgetIsShortenedBySearchingItsEnds)
{
    TRuntimeRandom random(TestSeed());
    TSolveOptions builtOnly;
    builtOnly.MaxNodes = 1000;
    builtOnly.MaxShorteningNodes = 0;
    TSolveOptions endsSearched = builtOnly;
    endsSearched.MaxShorteningNodes = 100'000;
    std::size_t saved = 0;
    for (int32_t game = 0; game < 6; ++game) {
        const TPuzzleBoard board = ScrambledGame(random, 4, 4, game % 2 == 0);

        const auto built = SolvePuzzle(board, builtOnly);
        const auto shortened = SolvePuzzle(board, endsSearched);

        ASSERT_TRUE(SolvesOnTheModel(board, *shortened)) << "game " << game;
        ASSERT_LE(shortened->Moves.size(), built->Moves.size()) << "game " << game;
        saved += built->Moves.size() - shortened->Moves.size();
    }
    EXPECT_GT(saved, 0u);
}

TEST(PuzzleSolver, ThreeByThreeLengthsAreTheFewestMovesOfABreadthFirstSearch)
{
    TRuntimeRandom random(TestSeed());
    const std::string distinctTarget = Arms3x3(DistinctBoard());
    const auto distinct = Distances3x3(distinctTarget);
    EXPECT_EQ(distinct.size(), 181440u);
    for (int32_t game = 0; game < 400; ++game) {
        const bool repeated = game % 2 == 0;
        const TPuzzleBoard board = ScrambledGame(random, 3, 3, !repeated);
        const std::string current = Arms3x3(board.Current);
        const int32_t fewest = repeated
            ? Fewest3x3(distinct, distinctTarget, current, Arms3x3(board.Target))
            : distinct.at(current);

        const std::optional<TSolution> solution = SolvePuzzle(board);

        ASSERT_EQ(static_cast<int32_t>(solution->Moves.size()), fewest) << "game " << game;
        EXPECT_TRUE(solution->Shortest);
        EXPECT_TRUE(SolvesOnTheModel(board, *solution));
    }
}

TEST(PuzzleSolver, SolversOnSeveralThreadsShareTheirTables)
{
    const uint32_t seed = TestSeed();
    auto solveFive = [seed](int32_t cols, int32_t rows) {
        TRuntimeRandom random(seed);
        const TPuzzleBoard board = ScrambledGame(random, cols, rows, true);
        return SolvesOnTheModel(board, *SolvePuzzle(board));
    };
    auto first = std::async(std::launch::async, solveFive, 5, 5);
    auto second = std::async(std::launch::async, solveFive, 4, 5);
    EXPECT_TRUE(solveFive(5, 4));
    EXPECT_TRUE(first.get());
    EXPECT_TRUE(second.get());
}

TEST(PuzzleSolver, ACancelledSolverReturnsNothing)
{
    TRuntimeRandom random(TestSeed());
    const TPuzzleBoard board = ScrambledGame(random, 4, 4, true);
    std::atomic<bool> cancel {true};
    TSolveOptions options;
    options.Cancel = &cancel;
    EXPECT_FALSE(SolvePuzzle(board, options));
}

TEST(PuzzleSolver, ACancelledBuildOfThePatternTableLeavesItToTheNextCaller)
{
    if (TTilePatternTable::Built())
        GTEST_SKIP() << "an earlier test in this process built the table";
    const std::atomic<bool> cancel {true};

    EXPECT_THROW(TTilePatternTable::Shared(&cancel), TTableCancelled);
    EXPECT_FALSE(TTilePatternTable::Built());
    const TTilePatternTable& table = TTilePatternTable::Shared();

    EXPECT_TRUE(TTilePatternTable::Built());
    EXPECT_EQ(table.Distance(TTilePatternTable::Homes()), 0);
    EXPECT_EQ(&TTilePatternTable::Shared(&cancel), &table);
}

TEST(PuzzleSolver, PreparingOnlyBuildsWhatASizeNeedsAndStopsWhenCancelled)
{
    if (TTilePatternTable::Built())
        GTEST_SKIP() << "an earlier test in this process built the tables";
    const std::atomic<bool> cancel {true};

    EXPECT_TRUE(PrepareSolver(3, 3, &cancel));
    EXPECT_TRUE(PrepareSolver(4, 3, &cancel));
    EXPECT_FALSE(PrepareSolver(5, 4, &cancel));
    EXPECT_FALSE(PrepareSolver(4, 4, &cancel));
    EXPECT_FALSE(TTilePatternTable::Built());
    // A cancelled build leaves the table to the next caller.
    EXPECT_TRUE(PrepareSolver(5, 4));
    EXPECT_TRUE(PrepareSolver(5, 4, &cancel));
}

TEST(PuzzleSolver, ABuildCancelledHalfWayLeavesTheTablesToTheNextCaller)
{
    if (TSeventhTileTable::Built())
        GTEST_SKIP() << "an earlier test in this process built the tables";
    std::atomic<bool> cancel {false};
    auto build = std::async(std::launch::async, [&] { return PrepareSolver(4, 4, &cancel); });
    while (!TTilePatternTable::Built())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    cancel = true;

    EXPECT_FALSE(build.get());
    EXPECT_FALSE(SolverPrepared(4, 4));
    EXPECT_TRUE(PrepareSolver(4, 4, nullptr));
    EXPECT_TRUE(SolverPrepared(4, 4));
}

TEST(PuzzleSolver, AWaitForAnotherCallersBuildStopsWhenCancelled)
{
    TBuiltOnce<int> table;
    std::atomic<bool> started {false};
    std::atomic<bool> release {false};
    auto never = [] { return std::make_unique<const int>(0); };
    std::thread builder([&] {
        table.Get(nullptr, [&] {
            started = true;
            while (!release)
                std::this_thread::yield();
            return std::make_unique<const int>(7);
        });
    });
    while (!started)
        std::this_thread::yield();
    std::atomic<bool> cancel {false};
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        cancel = true;
    });

    EXPECT_THROW(table.Get(&cancel, never), TTableCancelled);
    canceller.join();
    release = true;
    builder.join();
    EXPECT_EQ(table.Get(nullptr, never), 7);
}

TEST(PuzzleSolver, BoardsThatNoRotationsCanSolveAreRefused)
{
    TRuntimeRandom random(TestSeed());
    TPuzzleBoard board = ScrambledGame(random, 3, 3, true);
    auto expectRefusal = [&](int32_t cols, int32_t rows, const std::string& message) {
        try {
            SolvePuzzle(board.Current, board.Target, cols, rows);
            ADD_FAILURE() << "no failure, expected " << message;
        } catch (const KelException& e) {
            EXPECT_EQ(e.what(), message);
        }
    };
    expectRefusal(2, 3, "Solve: the board must have 3 to 5 columns and rows");
    expectRefusal(3, 6, "Solve: the board must have 3 to 5 columns and rows");

    // On a board of odd lines every move is an even permutation: one swap is out of reach, but
    // not when a row is of even length.
    std::swap(board.Current.Cell(1, 1), board.Current.Cell(2, 1));
    expectRefusal(3, 3, "Solve: no rotations turn this board into the target");
    board.SetCols(4);
    EXPECT_TRUE(SolvesOnTheModel(board, *SolvePuzzle(board)));

    board.Current.Cell(1, 1).Arms ^= ArmNorth;
    expectRefusal(3, 3, "Solve: the boards do not hold the same tiles");
}
