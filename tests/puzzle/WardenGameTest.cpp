#include "puzzle/WardenGame.h"

#include "ScriptedRandom.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

namespace {

// A game whose source records its draws, past a ready puzzle (as after start-up).
struct WardenGame : ::testing::Test {
    WardenGame()
    {
        Random.FallBack(TestSeed());
        Game.Stop();
    }
    // The scramble run to its end.
    void Scramble()
    {
        ASSERT_TRUE(Game.Start());
        for (int32_t tick = 0; tick < 10000 && Game.ScrambleStep(); ++tick) { }
        ASSERT_EQ(Game.ScrambleCount(), 0);
    }
    // A game won by a move whose cycle stopped at its third tick.
    void WinAtThirdTick()
    {
        Scramble();
        ASSERT_TRUE(Game.PressArrow(true, 1));
        Game.StartMove();
        for (int32_t tick = 1; tick <= 3; ++tick)
            ASSERT_EQ(Game.MoveTick(), tick);
        Game.Board.Current = Game.Board.Target;
        Game.EndMove();
        ASSERT_TRUE(Game.MoveFinished());
    }
    // The board one turn of column 2 away from a target of distinct cells.
    void OneTurnFromSolved()
    {
        Game.Board.Target = DistinctBoard();
        Game.Board.Current = DistinctBoard();
        Game.Board.ShiftColumnUp(2);
    }
    // A whole move cycle as the window runs it, ending with the active arrow cleared.
    bool Move(bool isColumn, int32_t index)
    {
        if (!Game.PressArrow(isColumn, index))
            return false;
        Game.StartMove();
        Game.ReleaseArrow();
        Game.EndMove();
        return true;
    }
    TScriptedRandom Random;
    TWardenGame Game {Random};
};

} // namespace

TEST(WardenGameStart, AFreshGameDrawsNothingUntilStopMakesTheFirstPuzzle)
{
    TScriptedRandom random;
    random.FallBack(TestSeed());
    TWardenGame game(random);
    EXPECT_FALSE(game.Playing() || game.Won() || game.NeedNewPuzzle() || game.ArrowIsColumn()
        || game.Released());
    EXPECT_EQ(game.ScrambleCount() + game.ArrowIndex() + game.Step() + game.TimerMode(), 0);
    EXPECT_TRUE(random.Draws.empty());

    game.Stop();

    EXPECT_FALSE(random.Draws.empty());
    EXPECT_NE(game.Board.Target, TRoadBoard());
    EXPECT_TRUE(game.Board.IsSolved());
}

TEST_F(WardenGame, StartScramblesUntilTheBoardIsUnsolvedAndRefusesMovesMeanwhile)
{
    WinAtThirdTick();
    Game.Stop();
    ASSERT_TRUE(Game.Won() && Game.Step() == 3);
    const std::size_t drawsBefore = Random.Draws.size();

    ASSERT_TRUE(Game.Start());

    EXPECT_EQ(Random.Draws.size(), drawsBefore) << "a puzzle was made without need";
    EXPECT_TRUE(Game.Playing());
    EXPECT_FALSE(Game.Won());
    EXPECT_EQ(Game.Step(), 0);
    EXPECT_EQ(Game.ScrambleCount(), 10);
    EXPECT_EQ(Game.TimerMode(), TimerScramble);
    EXPECT_FALSE(Game.Start());
    EXPECT_FALSE(Game.PressArrow(true, 1));
    EXPECT_FALSE(Game.SizeChange(4, 4));
    EXPECT_FALSE(Game.NewPicture());
    int32_t ticks = 1;
    while (Game.ScrambleStep())
        ++ticks;
    EXPECT_GE(ticks, 10);
    EXPECT_TRUE(Game.Playing());
    EXPECT_EQ(Game.ScrambleCount(), 0);
    EXPECT_FALSE(Game.Board.IsSolved());
    const std::size_t drawsAtEnd = Random.Draws.size();
    EXPECT_FALSE(Game.ScrambleStep()) << "a late tick";
    EXPECT_EQ(Random.Draws.size(), drawsAtEnd);
    EXPECT_EQ(Game.ScrambleCount(), 0);
}

TEST(WardenGameScramble, AStepThatLeavesTheBoardSolvedStartsTheCountOverAtTen)
{
    TRuntimeRandom random(TestSeed());
    TWardenGame game(random);
    for (int32_t c = 1; c <= 3; ++c)
        for (int32_t r = 1; r <= 3; ++r)
            game.Board.Target.Cell(c, r).Arms = ArmNorth | ArmSouth;
    game.Board.Current = game.Board.Target;
    ASSERT_TRUE(game.Start());

    EXPECT_TRUE(game.ScrambleStep());

    EXPECT_EQ(game.ScrambleCount(), 10);
}

TEST_F(WardenGame, MovesTurnLinesAndTheSolvingMoveWinsTheGame)
{
    Scramble();
    OneTurnFromSolved();
    const int32_t cols = Game.Board.Cols();
    Game.ReleaseArrow();
    EXPECT_FALSE(Game.Released()) << "a release without an active arrow";

    ASSERT_TRUE(Game.PressArrow(true, 1));
    Game.StartMove();
    EXPECT_EQ(Game.Step(), 0);
    EXPECT_EQ(Game.TimerMode(), TimerMoveCycle);
    EXPECT_FALSE(Game.Released());
    EXPECT_FALSE(Game.PressArrow(true, cols + 1)) << "another arrow while one is active";
    EXPECT_TRUE(Game.PressArrow(true, 1)) << "the active arrow again";
    Game.StartMove();
    Game.ReleaseArrow();
    EXPECT_TRUE(Game.Released());
    Game.EndMove();
    EXPECT_FALSE(Game.MoveFinished());
    EXPECT_FALSE(Game.PressArrow(true, 2 * cols + 1)) << "no such arrow";
    ASSERT_TRUE(Move(true, cols + 1));
    ASSERT_TRUE(Move(true, cols + 1));
    EXPECT_FALSE(Game.MoveFinished());
    EXPECT_TRUE(Game.Playing());

    ASSERT_TRUE(Move(true, cols + 2));

    EXPECT_TRUE(Game.MoveFinished());
    EXPECT_FALSE(Game.Playing());
    EXPECT_TRUE(Game.Won());
    EXPECT_TRUE(Game.NeedNewPuzzle());
    EXPECT_FALSE(Game.MoveFinished()) << "the game is already over";
    EXPECT_FALSE(Move(true, 1));
    ASSERT_TRUE(Game.Start());
    EXPECT_FALSE(Game.NeedNewPuzzle());
    EXPECT_NE(Game.Board.Target, DistinctBoard());
}

TEST_F(WardenGame, NewPictureAfterAWinKeepsWonWhileSizeChangeClearsIt)
{
    WinAtThirdTick();
    Game.Board.Target = DistinctBoard();

    ASSERT_TRUE(Game.NewPicture());

    EXPECT_TRUE(Game.Won());
    EXPECT_FALSE(Game.NeedNewPuzzle());
    EXPECT_NE(Game.Board.Target, DistinctBoard());
    ASSERT_TRUE(Game.SizeChange(4, 5));
    EXPECT_FALSE(Game.Won());
    EXPECT_EQ(Game.Board.Cols(), 4);
    EXPECT_EQ(Game.Board.Rows(), 5);
    Game.Board.Target = DistinctBoard();
    ASSERT_TRUE(Game.SizeChange(6, 2));
    EXPECT_EQ(Game.Board.Cols(), 4);
    EXPECT_EQ(Game.Board.Rows(), 5);
    EXPECT_NE(Game.Board.Target, DistinctBoard()) << "a new puzzle also without a size change";
}

TEST_F(WardenGame, StopEndsAGameWithANewPuzzleReleasingTheArrow)
{
    Scramble();
    OneTurnFromSolved();
    ASSERT_TRUE(Game.PressArrow(true, 1));
    Game.StartMove();

    Game.Stop();

    EXPECT_FALSE(Game.Playing());
    EXPECT_EQ(Game.ArrowIndex(), 0);
    EXPECT_FALSE(Game.Released());
    EXPECT_TRUE(Game.Board.IsSolved());
    EXPECT_NE(Game.Board.Target, DistinctBoard());
    Scramble();
    EXPECT_TRUE(Game.PressArrow(false, 1)) << "any arrow in the next game";
}
