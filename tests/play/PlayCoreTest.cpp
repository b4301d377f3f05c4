#include "play/PlayTestSupport.h"
#include "play/WardenHints.h"
#include "solver/PuzzleSolver.h"

#include <array>

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

// As for the game when its scramble ended, not for the board it was left at.
TEST_F(PlayCore, AResumedGameIsGivenTheParOfItsScrambledBoard)
{
    Scramble();
    const std::optional<TSolution> fewest = SolvePuzzle(Play.Game.Board);
    ASSERT_TRUE(fewest && fewest->Shortest);
    for (const char key : {'A', '1'}) {
        Play.KeyPress(key);
        Play.KeyUp();
        Slide();
    }
    const std::optional<TKeptGame> kept = Play.Kept();
    Play.Stop();

    ASSERT_TRUE(kept && Play.Resume(*kept));

    ASSERT_TRUE(Jobs.RunUntil([this] { return Play.View().Par.has_value(); }));
    EXPECT_EQ(Play.View().Par->Moves, static_cast<int32_t>(fewest->Moves.size()));
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

// The guide's error box runs a loop of its own, where the game's timer goes on.
TEST_F(PlayCore, TheSlideGoesOnWhileAWindowCommandShowsAMessage)
{
    Scramble();
    Play.Do(TCommand::Press({true, 1}));
    Screen.OnWindowCommand = [this](const TCommand&) { Play.TimerTick(); };

    Play.Do(TCommand::Of(TCommandKind::Guide));

    EXPECT_EQ(Play.Game.Step(), 1);
}

// Whether each command may act when idle, while scrambling, ready after one move, and while the
// up arrow of column 1 moves its line.
TEST_F(PlayCore, EachCommandIsAllowedInTheStatesThatTakeItOnly)
{
    using TKind = TCommandKind;
    const TCommand a = TCommand::Press({true, 1}), b = TCommand::Press({false, 1});
    const struct {
        TCommand Command;
        std::array<bool, 4> Allowed;
    } cases[] = {{TCommand::Of(TKind::Start), {true, false, false, false}},
        {TCommand::Of(TKind::SizeStep, 3), {true, false, false, false}},
        {TCommand::Of(TKind::NewPicture), {true, false, false, false}},
        {a, {false, false, true, true}}, {b, {false, false, true, false}},
        {TCommand::Of(TKind::Undo), {false, false, true, false}},
        {TCommand::Of(TKind::Redo), {false, false, false, false}},
        {TCommand::Of(TKind::Hint), {false, false, true, false}},
        {TCommand::Help({false, 1}), {false, false, true, false}},
        {TCommand::Of(TKind::Stop), {true, true, true, true}},
        {TCommand::Of(TKind::ReleaseArrow), {true, true, true, true}},
        {TCommand::Of(TKind::Zoom, 1), {true, true, true, true}}};
    std::vector<std::array<bool, 4>> seen(std::size(cases));
    const auto look = [&](std::size_t state) {
        for (std::size_t i = 0; i < std::size(cases); ++i)
            seen[i][state] = Play.Allowed(cases[i].Command);
    };

    look(0);
    Play.Start();
    Play.TimerTick();
    look(1);
    Slide();
    Play.Do(b);
    Play.KeyUp();
    Slide();
    look(2);
    Play.Do(a);
    look(3);

    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(seen[i], cases[i].Allowed) << "case " << i;
}

} // namespace
