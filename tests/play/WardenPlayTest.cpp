#include "play/GameTestSupport.h"

namespace {

class WardenPlayTest : public ::testing::Test {
protected:
    WardenPlayTest()
    {
        Random.FallBack(TestSeed());
        Play.SetSize(3, 3);
        Play.Stop();
    }

    TGamePictures Pictures;
    TScriptedRandom Random;
    TRecordingScreen Screen {*Pictures.Images};
    TWardenPlay Play {Random, *Pictures.Images, Pictures.Tiles(), Screen};
    TWardenGame& Game = Play.Game;

    void StartAndScramble()
    {
        Play.Start();
        for (int32_t ticks = 0; Screen.TimerOn && ticks < 1000; ++ticks)
            Play.TimerTick();
        Screen.Shown.clear();
    }
    void Ticks(int32_t n)
    {
        while (n-- > 0)
            Play.TimerTick();
    }
    // The current board as it was, with column 1 turned up n times.
    TRoadBoard ColumnOneUp(const TRoadBoard& before, int32_t n)
    {
        TPuzzleBoard board = Game.Board;
        board.Current = before;
        while (n-- > 0)
            board.ShiftColumnUp(1);
        return board.Current;
    }
    bool ArrowShows(TPoint p, TArrowImage image, int32_t frame)
    {
        return Shows(*Pictures.Images->PlayBoard, p, *Pictures.Images->Arrow(image),
            {0, 20 * frame, 20, 20 * frame + 20});
    }
};

TEST_F(WardenPlayTest, KeyPressedAndReleasedWithinATickGivesOneRotationThreeSlidesAndTheFinal)
{
    StartAndScramble();
    const TRoadBoard before = Game.Board.Current;
    Play.KeyPress('a');
    Play.KeyUp();
    EXPECT_EQ(Game.Board.Current, ColumnOneUp(before, 1));
    EXPECT_TRUE(Screen.Shown.empty());
    Ticks(4);
    EXPECT_FALSE(Screen.TimerOn);
    ASSERT_EQ(Screen.Shown.size(), 4u);
    const std::vector<uint8_t>& final = Screen.Shown[3].Pixels;
    EXPECT_FALSE(Screen.Shown[3].Frame);
    // Frame f shows column 1 (x 57..87) 24, 16, 8 pixels below its place, wrapping round;
    // the grid lines beside it stay.
    for (int32_t f = 0; f < 3; ++f)
        for (int32_t y = 57; y < 153; ++y)
            for (int32_t x = 56; x <= 89; ++x) {
                const int32_t from = x >= 57 && x < 88 ? 57 + (y - 57 - 24 + 8 * f + 96) % 96 : y;
                ASSERT_EQ(Screen.Shown[f].Pixels[y * 208 + x], final[from * 208 + x])
                    << "frame " << f << " at " << x << "," << y;
            }
    EXPECT_TRUE(ArrowShows({63, 32}, TArrowImage::UpReleased, 0));
}

TEST_F(WardenPlayTest, HeldArrowRotatesEveryFifthTickAndTheReleaseActsAtTheNextFourth)
{
    StartAndScramble();
    const TRoadBoard before = Game.Board.Current;
    Play.BoardMouseDown(70, 40);
    EXPECT_TRUE(ArrowShows({63, 32}, TArrowImage::UpPressed, 0));
    Ticks(4);
    EXPECT_EQ(Game.Board.Current, ColumnOneUp(before, 1));
    Play.KeyPress('a'); // the keyboard's auto-repeat while held changes nothing
    Ticks(1);
    EXPECT_EQ(Game.Board.Current, ColumnOneUp(before, 2));
    Ticks(2);
    Play.BoardMouseUp();
    Ticks(1);
    EXPECT_TRUE(Screen.TimerOn);
    Ticks(1);
    EXPECT_FALSE(Screen.TimerOn);
    EXPECT_EQ(Game.Board.Current, ColumnOneUp(before, 2));
    EXPECT_EQ(Screen.Shown.size(), 8u);
}

TEST_F(WardenPlayTest, OtherArrowsAndGapsAreRefusedDuringAMoveTheSameOneRepeatsAtOnce)
{
    StartAndScramble();
    const TRoadBoard before = Game.Board.Current;
    Play.KeyPress('a');
    Play.KeyUp();
    Ticks(1);
    Play.KeyPress('b');
    Play.BoardMouseDown(36, 70); // left arrow of row 1
    EXPECT_EQ(Game.Board.Current, ColumnOneUp(before, 1));
    Play.KeyPress('A');
    EXPECT_EQ(Game.Board.Current, ColumnOneUp(before, 2));
    Play.KeyUp();
    Ticks(4);
    EXPECT_FALSE(Screen.TimerOn);
    Play.BoardMouseDown(90, 40); // between the first two up arrows
    EXPECT_FALSE(Screen.TimerOn);
}

TEST_F(WardenPlayTest, DuringTheScrambleArrowsKeysAndTheHandCursorDoNothing)
{
    Play.Start();
    Play.TimerTick();
    const TRoadBoard scrambled = Game.Board.Current;
    Play.KeyPress('a');
    Play.BoardMouseDown(70, 40);
    EXPECT_FALSE(Play.ArrowAcceptedAt(70, 40));
    EXPECT_EQ(Game.Board.Current, scrambled);
    EXPECT_EQ(Screen.Interval, ScrambleInterval);
    while (Screen.TimerOn)
        Play.TimerTick();
    EXPECT_FALSE(Game.Board.IsSolved());
    EXPECT_TRUE(Play.ArrowAcceptedAt(70, 40));
    EXPECT_FALSE(Play.ArrowAcceptedAt(90, 40));
}

TEST_F(WardenPlayTest, SizeButtonsStepWithinThreeToFiveAndReLayTheBoard)
{
    for (const int32_t tag : {3, 3, 3, 4, 9})
        Play.ColRow(tag);
    EXPECT_EQ(Game.Board.Cols(), 5);
    EXPECT_EQ(Game.Board.Rows(), 4);
    EXPECT_EQ(PixelOf(*Pictures.Images->PlayBoard, 24, 40), GridLineIndex);
    for (const int32_t tag : {1, 1, 1, 2})
        Play.ColRow(tag);
    EXPECT_EQ(Game.Board.Cols(), 3);
    EXPECT_EQ(Game.Board.Rows(), 3);
    EXPECT_EQ(PixelOf(*Pictures.Images->PlayBoard, 56, 56), GridLineIndex);
}

TEST_F(WardenPlayTest, WholeGameEndsWonWithWelldoneAndTheCaptionKeepsIt)
{
    StartAndScramble();
    const std::string keys = SolvingKeys(Game.Board);
    ASSERT_FALSE(keys.empty());
    for (const char key : keys) {
        ASSERT_TRUE(Game.Playing());
        Play.KeyPress(key);
        Play.KeyUp();
        Ticks(4);
    }
    EXPECT_TRUE(!Game.Playing() && Game.Won() && Screen.Idle && !Screen.TimerOn);
    TVX8ImageData& preview = *Pictures.Images->PreviewBoard;
    const TImageHold welldone = TImageHold::Open(Pictures.Library, "welldone");
    EXPECT_TRUE(Shows(preview, {1, 1}, *welldone.Surface(), welldone.Surface()->Bounds()));
    EXPECT_EQ(PixelOf(*Pictures.Images->PlayBoard, 57, 153), EdgeLineIndex); // raised: mode 2
    EXPECT_FALSE(ArrowShows({63, 32}, TArrowImage::UpReleased, 0));
    EXPECT_EQ(Screen.Shown.back().Pixels, PixelsOf(preview));

    const TRoadBoard solved = Game.Board.Current;
    const std::vector<uint8_t> message = PixelsOf(preview);
    Play.NewPicture();
    EXPECT_NE(Game.Board.Current, solved);
    EXPECT_TRUE(Game.Won());
    EXPECT_EQ(PixelsOf(preview), message);
}

TEST_F(WardenPlayTest, MoveThatSolvesWhileTheKeyIsHeldDoesNotEndTheGame)
{
    StartAndScramble();
    char key = 0;
    for (int32_t line = 1; line <= 3 && key == 0; ++line)
        for (const bool column : {true, false}) {
            Game.Board.Current = Game.Board.Target;
            column ? Game.Board.ShiftColumnDown(line) : Game.Board.ShiftRowRight(line);
            if (!Game.Board.IsSolved()) {
                key = static_cast<char>((column ? 'A' : '1') + line - 1);
                break;
            }
        }
    Play.KeyPress(key);
    EXPECT_TRUE(Game.Board.IsSolved());
    Ticks(5);
    EXPECT_TRUE(Game.Playing() && !Game.Won() && !Game.Board.IsSolved());
}

TEST_F(WardenPlayTest, StopInTheMiddleOfAMoveLeavesNoArrowActiveForTheNextGame)
{
    StartAndScramble();
    Play.KeyPress('c');
    Ticks(2);
    Play.Stop();
    EXPECT_TRUE(!Screen.TimerOn && Screen.Idle);
    StartAndScramble();
    EXPECT_TRUE(ArrowShows({127, 32}, TArrowImage::UpReleased, 2));
    const TRoadBoard before = Game.Board.Current;
    Play.KeyPress('a');
    EXPECT_EQ(Game.Board.Current, ColumnOneUp(before, 1));
}

} // namespace
