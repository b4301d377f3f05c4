#include "puzzle/PuzzleBoard.h"

#include "ScriptedRandom.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

struct TTurn {
    bool IsColumn;
    int32_t Line;
    int32_t Cells;
};

// Consecutive moves of one line make one turn: a direction never takes a line twice, and a
// switch changes the direction.
std::vector<TTurn> Turns(const std::vector<TLineMove>& moves)
{
    std::vector<TTurn> turns;
    for (const auto& [isColumn, line] : moves)
        if (!turns.empty() && turns.back().IsColumn == isColumn && turns.back().Line == line)
            ++turns.back().Cells;
        else
            turns.push_back({isColumn, line, 1});
    return turns;
}

} // namespace

// On 5 columns by 4 rows each round turns, with the switch draws at their limits: row 1 four
// cells left (so one right), row 1 again and so row 3 one left, row 2 four left (so one right),
// which completes the rows; then column 4 two cells up (half its length: no reversal) and
// column 2 three up (so one down), and back to rows.
TEST(ScrambleStep, DrawsInTheOrderOfTheAlgorithmAndTurnsTheShortWay)
{
    TScriptedRandom random;
    random.Then(70);
    std::vector<int32_t> asked = {100};
    for (int32_t round = 0; round < 6; ++round) {
        for (int32_t value : {0, 3, 4, 4, 2, 0, 9, 1, 3, 3, 1, 5, 1, 2, 0})
            random.Then(value);
        asked.insert(asked.end(), {4000, 4000, 10, 4000, 4000, 4000, 10, 4000, 4000});
        asked.insert(asked.end(), {5000, 3000, 10, 5000, 3000, 10});
    }
    TPuzzleBoard board;
    board.SetCols(5);
    board.SetRows(4);
    board.Current = DistinctBoard();
    board.Target = DistinctBoard();
    TPuzzleBoard replay = board;

    const std::vector<TLineMove> moves = board.ScrambleStep(random);

    EXPECT_EQ(random.AskedN(), asked);
    EXPECT_EQ(random.Unused(), 0u);
    for (int32_t round = 0; round < 6; ++round) {
        replay.ShiftRowRight(1);
        replay.ShiftRowLeft(3);
        replay.ShiftRowRight(2);
        replay.ShiftColumnUp(4);
        replay.ShiftColumnUp(4);
        replay.ShiftColumnDown(2);
    }
    EXPECT_EQ(board.Current, replay.Current);
    EXPECT_NE(board.Current, DistinctBoard());
    EXPECT_EQ(Turns(moves).size(), 30u);
}

TEST(ScrambleStep, TurnsThirtyValidLinesTheShortWayAndSwitchesDirectionInTime)
{
    TRuntimeRandom random(TestSeed());
    TPuzzleBoard board;
    for (int32_t cols = 3; cols <= 5; ++cols)
        for (int32_t rows = 3; rows <= 5; ++rows) {
            board.SetCols(cols);
            board.SetRows(rows);
            board.NewPuzzle(random);
            std::set<std::pair<bool, int32_t>> linesSeen;
            for (int32_t step = 0; step < 100; ++step) {
                const std::vector<TTurn> turns = Turns(board.ScrambleStep(random));
                ASSERT_EQ(turns.size(), 30u) << cols << " x " << rows;
                std::set<int32_t> runLines;
                for (std::size_t i = 0; i < turns.size(); ++i) {
                    const TTurn& t = turns[i];
                    const int32_t n = t.IsColumn ? cols : rows;
                    const int32_t m = t.IsColumn ? rows : cols;
                    ASSERT_TRUE(t.Line >= 1 && t.Line <= n) << cols << " x " << rows;
                    ASSERT_TRUE(t.Cells >= 1 && t.Cells * 2 <= m) << cols << " x " << rows;
                    if (i > 0 && turns[i - 1].IsColumn != t.IsColumn)
                        runLines.clear();
                    runLines.insert(t.Line);
                    ASSERT_LE(static_cast<int32_t>(runLines.size()), n - 1)
                        << cols << " x " << rows << ": a direction kept past n - 1 lines";
                    linesSeen.insert({t.IsColumn, t.Line});
                }
            }
            EXPECT_EQ(static_cast<int32_t>(linesSeen.size()), cols + rows) << cols << " x " << rows;
        }
}
