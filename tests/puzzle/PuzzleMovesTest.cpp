#include "puzzle/PuzzleBoard.h"

#include "ScriptedRandom.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// A 4 x 3 board of distinct cells, so that rows 4 and 5 and column 5 lie off the board.
struct PuzzleMoves : ::testing::Test {
    PuzzleMoves()
    {
        Board.SetCols(4);
        Board.SetRows(3);
        Board.Current = DistinctBoard();
        Board.Target = DistinctBoard();
        Before = Board.Current;
    }
    TPuzzleBoard Board;
    TRoadBoard Before;
};

} // namespace

// Each arrow with the cells its line then holds, as positions along the line before the move.
TEST_F(PuzzleMoves, ArrowsMoveWholeCellsOfTheirLineOnlyTheirWay)
{
    struct TCase {
        TArrow Arrow;
        int32_t Line;
        std::vector<int32_t> From;
    };
    const TCase cases[] = {
        {{true, 2}, 2, {2, 3, 1}},
        {{true, 6}, 2, {3, 1, 2}},
        {{true, 8}, 4, {3, 1, 2}},
        {{false, 3}, 3, {2, 3, 4, 1}},
        {{false, 4}, 1, {4, 1, 2, 3}},
        {{false, 6}, 3, {4, 1, 2, 3}},
    };
    for (const TCase& c : cases) {
        TRoadBoard expected = Before;
        for (int32_t i = 1; i <= static_cast<int32_t>(c.From.size()); ++i)
            if (c.Arrow.IsColumn)
                expected.Cell(c.Line, i) = Before.Cell(c.Line, c.From[i - 1]);
            else
                expected.Cell(i, c.Line) = Before.Cell(c.From[i - 1], c.Line);
        Board.Current = Before;

        Board.ApplyArrow(c.Arrow.IsColumn, c.Arrow.Index);

        EXPECT_EQ(Board.Current, expected) << c.Arrow.IsColumn << " " << c.Arrow.Index;
        EXPECT_EQ(Board.Target, Before);
    }
}

TEST_F(PuzzleMoves, LinesOffTheBoardAndUnknownArrowsChangeNothing)
{
    Board.ShiftColumnUp(5);
    Board.ShiftColumnDown(0);
    Board.ShiftRowLeft(4);
    Board.ShiftRowRight(-1);
    Board.ApplyArrow(true, 0);
    Board.ApplyArrow(true, 9);
    Board.ApplyArrow(false, 7);
    EXPECT_EQ(Board.Current, Before);
    EXPECT_EQ(Board.Apply({false, 0}), Board);
}

TEST_F(PuzzleMoves, ApplyGivesTheMovedBoardAndLeavesItsOwnAsItWas)
{
    const TPuzzleBoard before = Board;
    TPuzzleBoard expected = Board;
    expected.ShiftColumnDown(2);

    const TPuzzleBoard after = Board.Apply({true, 6});

    EXPECT_EQ(after, expected);
    EXPECT_EQ(Board, before);
    EXPECT_NE(after, before);
}

TEST(PuzzleRotations, FullTurnsRestoreAndOppositeTurnsCancelOnEverySize)
{
    TRuntimeRandom random(TestSeed());
    TPuzzleBoard board;
    for (int32_t cols = 3; cols <= 5; ++cols)
        for (int32_t rows = 3; rows <= 5; ++rows) {
            board.SetCols(cols);
            board.SetRows(rows);
            for (int32_t i = 0; i < 200; ++i) {
                board.NewPuzzle(random);
                for (int32_t c = 1; c <= cols; ++c) {
                    for (int32_t t = 0; t < rows; ++t)
                        board.ShiftColumnUp(c);
                    ASSERT_TRUE(board.IsSolved()) << cols << " x " << rows << ", column " << c;
                    board.ShiftColumnUp(c);
                    board.ShiftColumnDown(c);
                    ASSERT_EQ(board.Current, board.Target) << cols << " x " << rows;
                }
                for (int32_t r = 1; r <= rows; ++r) {
                    for (int32_t t = 0; t < cols; ++t)
                        board.ShiftRowLeft(r);
                    ASSERT_TRUE(board.IsSolved()) << cols << " x " << rows << ", row " << r;
                    board.ShiftRowLeft(r);
                    board.ShiftRowRight(r);
                    ASSERT_EQ(board.Current, board.Target) << cols << " x " << rows;
                }
            }
        }
}

TEST(PuzzleSize, CountsOutsideThreeToFiveAreIgnored)
{
    TPuzzleBoard board;
    for (int32_t n : {6, 2, 0, -1, 256}) {
        board.SetCols(n);
        board.SetRows(n);
    }
    EXPECT_EQ(board.Cols(), 3);
    EXPECT_EQ(board.Rows(), 3);
    board.SetCols(5);
    board.SetRows(4);
    EXPECT_EQ(board.Cols(), 5);
    EXPECT_EQ(board.Rows(), 4);
}

TEST(ArrowKeys, ExamplesOfTheKeyMap)
{
    TPuzzleBoard board;
    board.SetRows(4);
    EXPECT_EQ(board.ArrowForKey(U'5'), (TArrow {false, 5})) << "right arrow of row 1";
    EXPECT_EQ(board.ArrowForKey(U'f'), (TArrow {true, 6})) << "down arrow of column 3";
    EXPECT_EQ(board.ArrowForKey(U'g'), std::nullopt);
    board.SetCols(5);
    EXPECT_EQ(board.ArrowForKey(U'J'), (TArrow {true, 10}));
    EXPECT_EQ(board.ArrowForKey(U'K'), std::nullopt);
}

TEST(ArrowKeys, OnEverySizeEachArrowHasOneLetterOrDigitInBothCases)
{
    const std::u32string letters = U"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::u32string digits = U"1234567890";
    TPuzzleBoard board;
    for (int32_t cols = 3; cols <= 5; ++cols)
        for (int32_t rows = 3; rows <= 5; ++rows) {
            board.SetCols(cols);
            board.SetRows(rows);
            std::vector<TArrow> columnArrows, rowArrows;
            for (char32_t key : letters) {
                const auto arrow = board.ArrowForKey(key);
                EXPECT_EQ(board.ArrowForKey(key + (U'a' - U'A')), arrow);
                if (arrow)
                    columnArrows.push_back(*arrow);
            }
            for (char32_t key : digits)
                if (const auto arrow = board.ArrowForKey(key))
                    rowArrows.push_back(*arrow);
            for (char32_t key : std::u32string(U"@[`{ \u00e4\u0141"))
                EXPECT_EQ(board.ArrowForKey(key), std::nullopt);
            ASSERT_EQ(columnArrows.size(), static_cast<std::size_t>(2 * cols));
            ASSERT_EQ(rowArrows.size(), static_cast<std::size_t>(2 * rows));
            for (int32_t i = 0; i < 2 * cols; ++i)
                EXPECT_EQ(columnArrows[i], (TArrow {true, i + 1})) << cols << " columns";
            for (int32_t i = 0; i < 2 * rows; ++i)
                EXPECT_EQ(rowArrows[i], (TArrow {false, i + 1})) << rows << " rows";
        }
}

TEST(SolvedTest, ColourRulesOfTheCellComparison)
{
    const auto cell = [](uint8_t arms, int32_t slot = 0, uint8_t colour = 0) {
        TRoadCell c;
        c.Arms = arms;
        c.ArmColours[slot] = colour;
        return c;
    };
    struct TCase {
        const char* Name;
        TRoadCell Target, Current;
        bool Solved;
    };
    const TCase cases[] = {
        {"no arms, other end cap colour", cell(0), cell(0, EndCapSlot, 1), false},
        {"no arms, other arm colour", cell(0), cell(0, 2, 1), true},
        {"other arms", cell(ArmEast), cell(ArmSouth), false},
        {"colour of an absent arm", cell(ArmEast), cell(ArmEast, 6, 1), true},
        {"colour of a present arm", cell(ArmEast | ArmSouthWest),
            cell(ArmEast | ArmSouthWest, 5, 1), false},
        {"end cap colour of a single arm", cell(ArmEast), cell(ArmEast, EndCapSlot, 1), true},
    };
    TPuzzleBoard board;
    for (const TCase& c : cases) {
        board.Target.Cell(2, 3) = c.Target;
        board.Current.Cell(2, 3) = c.Current;
        EXPECT_EQ(board.CellSolved(2, 3), c.Solved) << c.Name;
        EXPECT_EQ(board.IsSolved(), c.Solved) << c.Name;
    }
}

TEST(SolvedTest, LookAlikeTilesMayTradePlacesAndCellsOffTheBoardDoNotCount)
{
    TPuzzleBoard board;
    for (int32_t r = 1; r <= 3; ++r) {
        board.Target.Cell(1, r).Arms = ArmEast;
        board.Target.Cell(1, r).ArmColours[6] = static_cast<uint8_t>(r);
    }
    board.Target.Cell(2, 2).Arms = ArmNorth;
    board.Current = board.Target;
    board.Current.Cell(4, 2).Arms = ArmNorth;
    board.Current.Cell(3, 5).ArmColours[EndCapSlot] = 1;

    board.ShiftColumnUp(1);

    EXPECT_TRUE(board.CellSolved(4, 2));
    EXPECT_TRUE(board.IsSolved());
    board.ShiftColumnUp(2);
    EXPECT_FALSE(board.IsSolved());
}
