#include "play/PlayTestSupport.h"
#include "play/WardenHints.h"
#include "solver/PuzzleSolver.h"

namespace {

// The play with its hints and no window: blank pictures, a recording screen, and the solver's
// answers handed to a queue that the test runs.
class PlayCore : public ::testing::Test {
protected:
    PlayCore()
    {
        Random.FallBack(TestSeed());
        Play.SetSize(3, 3);
        Play.Stop();
        Play.Listen(Hints);
    }
    void Scramble()
    {
        Play.Start();
        Slide();
    }
    void Slide()
    {
        while (Screen.TimerOn)
            Play.TimerTick();
    }
    int32_t Moves() const { return Play.Game.History().Moves(); }

    TBlankPictures Pictures;
    TScriptedRandom Random;
    TRecordingScreen Screen {*Pictures.Images};
    TWardenPlay Play {Random, *Pictures.Images, nullptr, Screen};
    std::vector<std::string> Said;
    TJobQueue Jobs;
    TWardenHints Hints {Play, Play.Coach(),
        [this](const std::string& text) { Said.push_back(text); }, Jobs.Thread()};
};

TEST_F(PlayCore, AHintOnAScrambledFourByFourPlaysTheFirstMoveOfAFewestMoveWayBack)
{
    Play.ColRow(3);
    Play.ColRow(4);
    Scramble();
    const TPuzzleBoard scrambled = Play.Game.Board;
    const std::optional<TSolution> fewest = SolvePuzzle(scrambled);
    ASSERT_TRUE(fewest && fewest->Shortest && !fewest->Moves.empty());

    Play.Do(TCommand::Of(TCommandKind::Hint));

    ASSERT_TRUE(Jobs.RunUntil([this] { return Moves() == 1; }));
    const TArrow hint = Play.Game.Arrow();
    Slide();
    const std::optional<TSolution> rest = SolvePuzzle(Play.Game.Board);
    ASSERT_TRUE(rest && rest->Shortest);
    EXPECT_EQ(rest->Moves.size() + 1, fewest->Moves.size());
    EXPECT_EQ(Said, std::vector<std::string> {MoveWords(scrambled, hint)});
}

TEST_F(PlayCore, AHintWhoseAnswerArrivesDuringASlideIsPlayedAfterIt)
{
    Scramble();
    Play.Do(TCommand::Of(TCommandKind::Hint));
    Play.PressArrow(false, 1);
    Play.KeyUp();
    const TPuzzleBoard moved = Play.Game.Board;

    ASSERT_TRUE(Jobs.RunUntil([this] { return Hints.Coach().Par.has_value(); }));
    EXPECT_EQ(Play.Game.Board, moved) << "nothing is played during the slide";
    EXPECT_EQ(Moves(), 1);
    Slide();

    ASSERT_TRUE(Jobs.RunUntil([this] { return Moves() == 2; }, std::chrono::seconds(10)));
    EXPECT_EQ(Said.size(), 1u);
}

} // namespace
