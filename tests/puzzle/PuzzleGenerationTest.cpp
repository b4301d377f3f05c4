#include "puzzle/PuzzleBoard.h"

#include "ScriptedRandom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Neighbour offsets of the eight arm directions, clockwise from north.
constexpr int32_t StepX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int32_t StepY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

// Empty when the target is symmetric, keeps its arms on the board and is not uniform.
std::string InvariantBreach(const TPuzzleBoard& board)
{
    bool uniform = true;
    for (int32_t c = 1; c <= board.Cols(); ++c)
        for (int32_t r = 1; r <= board.Rows(); ++r) {
            const uint8_t arms = board.Target.Cell(c, r).Arms;
            uniform = uniform && arms == board.Target.Cell(1, 1).Arms;
            for (int32_t d = 0; d < 8; ++d) {
                if ((arms & (1 << d)) == 0)
                    continue;
                const std::string where = "arm " + std::to_string(d) + " of (" + std::to_string(c)
                    + ", " + std::to_string(r) + ")";
                const int32_t nc = c + StepX[d];
                const int32_t nr = r + StepY[d];
                if (nc < 1 || nc > board.Cols() || nr < 1 || nr > board.Rows())
                    return where + " leaves the board";
                if ((board.Target.Cell(nc, nr).Arms & (1 << ((d + 4) % 8))) == 0)
                    return where + " has no partner";
            }
        }
    return uniform ? "uniform picture" : "";
}

std::vector<int32_t> Repeated(std::vector<int32_t> asked, int32_t n, int32_t times)
{
    asked.insert(asked.end(), times, n);
    return asked;
}

} // namespace

TEST(PuzzleGeneration, ThousandsOfPuzzlesOfEverySizeKeepTheInvariants)
{
    TRuntimeRandom random(TestSeed());
    TPuzzleBoard board;
    for (int32_t cols = 3; cols <= 5; ++cols)
        for (int32_t rows = 3; rows <= 5; ++rows) {
            board.SetCols(cols);
            board.SetRows(rows);
            uint8_t armsSeen = 0;
            for (int32_t i = 0; i < 400; ++i) {
                board.NewPuzzle(random);
                ASSERT_EQ(InvariantBreach(board), "") << cols << " x " << rows << ", puzzle " << i;
                ASSERT_EQ(board.Current, board.Target);
                for (int32_t c = 1; c <= cols; ++c)
                    for (int32_t r = 1; r <= rows; ++r)
                        armsSeen |= board.Target.Cell(c, r).Arms;
            }
            EXPECT_EQ(armsSeen, 0xFF) << cols << " x " << rows << ": some direction never occurs";
        }
}

TEST(PuzzleGeneration, DrawOrderWithARedrawnUniformPictureAndBothLinkOutcomes)
{
    TScriptedRandom random;
    random.Then(10).Then(0); // colour 0 dropped, then put back
    random.Then(0, 81); // 9 cells x 9 slots
    random.Then(50).Then(99); // no axis removed
    random.Then(0, 9); // no arms anywhere: uniform, so once more
    random.Then(99).Then(50); // no axis removed
    random.Then(0).Then(ArmEast | ArmSouth).Then(0, 7); // only cell (1, 2) has arms
    random.Then(10); // its south link is cleared first,
    random.Then(25); // then its east link is set
    TPuzzleBoard board;

    board.NewPuzzle(random);

    std::vector<int32_t> asked = Repeated({100, 1}, 1, 81);
    asked = Repeated(Repeated(asked, 100, 2), 256, 9);
    asked = Repeated(Repeated(asked, 100, 2), 256, 9);
    EXPECT_EQ(random.AskedN(), Repeated(asked, 100, 2));
    EXPECT_EQ(random.Unused(), 0u);
    EXPECT_EQ(board.Target.Cell(1, 2).Arms, ArmEast);
    EXPECT_EQ(board.Target.Cell(2, 2).Arms, ArmWest);
    EXPECT_EQ(board.Target.Cell(1, 3).Arms, 0);
    EXPECT_EQ(board.Current, board.Target);
}

TEST(PuzzleGeneration, AnAxisDrawnModuloFourLeavesEveryCell)
{
    TScriptedRandom random;
    random.Then(60).Then(0, 225);
    random.Then(10).Then(6); // axis 2: east and west
    random.Then(49).Then(99); // axis 3: south-east and north-west
    random.FallBack(20240601);
    TPuzzleBoard board;
    board.SetCols(5);
    board.SetRows(5);

    board.NewPuzzle(random);

    int32_t armDraws = 0;
    for (const TDraw& d : random.Draws)
        armDraws += d.N == 256 ? 1 : 0;
    ASSERT_EQ(armDraws, 25) << "the picture was drawn again, with another mask";
    for (int32_t c = 1; c <= 5; ++c)
        for (int32_t r = 1; r <= 5; ++r)
            EXPECT_EQ(board.Target.Cell(c, r).Arms & (AxisMask(2) | AxisMask(3)), 0);
}

TEST(PuzzleGeneration, ColoursAreDrawnUntilAnAllowedOneComes)
{
    TScriptedRandom random;
    random.Then(10).Then(50).Then(50); // colour 2 dropped, 1 and 0 stay
    random.Then(2).Then(0); // the first slot tries until it gets 0
    random.Then(1, 80);
    random.FallBack(7);
    TPuzzleBoard board(3);

    board.NewPuzzle(random);

    const std::vector<int32_t> asked = random.AskedN();
    ASSERT_GE(asked.size(), 85u);
    EXPECT_EQ(
        std::vector<int32_t>(asked.begin(), asked.begin() + 85), Repeated({100, 100, 100}, 3, 82));
    for (int32_t c = 1; c <= 3; ++c)
        for (int32_t r = 1; r <= 3; ++r)
            for (int32_t k = 0; k < ColourSlots; ++k) {
                const int32_t colour = c == 1 && r == 1 && k == 0 ? 0 : 1;
                EXPECT_EQ(board.Current.Cell(c, r).ArmColours[k], colour);
                EXPECT_EQ(board.Target.Cell(c, r).ArmColours[k], colour);
            }
}

TEST(PuzzleGeneration, ColoursFillSlotsByColumnThenRowThenSlot)
{
    TScriptedRandom random;
    random.Then(99, 120);
    for (int32_t i = 0; i < 3 * 4 * 9; ++i)
        random.Then(i);
    random.FallBack(11);
    TPuzzleBoard board(120);
    board.SetCols(3);
    board.SetRows(4);

    board.NewPuzzle(random);

    for (int32_t c = 1; c <= 3; ++c)
        for (int32_t r = 1; r <= 4; ++r)
            for (int32_t k = 0; k < ColourSlots; ++k)
                EXPECT_EQ(board.Target.Cell(c, r).ArmColours[k], ((c - 1) * 4 + r - 1) * 9 + k)
                    << "cell (" << c << ", " << r << "), slot " << k;
}
