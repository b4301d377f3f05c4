#include "FormWardenFixture.h"
#include "WindowAnnouncements.h"
#include "platform/FormTooltip.h"
#include "solver/PuzzleSolver.h"
#include "solver/SeventhTileTable.h"

#include <chrono>
#include <regex>
#include <thread>

namespace {

// How long a size's tables may take to build on the worker: a sanitizer's build runs it several
// times slower.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr std::chrono::seconds TableBuildWait(300);
#else
constexpr std::chrono::seconds TableBuildWait(60);
#endif

class WardenHintsTest : public TFormWardenFixture {
protected:
    WardenHintsTest()
        : TFormWardenFixture("[Statistics]\nBest3x3=50\n")
    {
        Window.Attach();
    }

    int32_t Moves() { return Form->Play->Game.History().Moves(); }
    // Runs the loop, where the solver's answers arrive, until the condition holds.
    template <typename F>
    static bool RunLoopUntil(F condition, std::chrono::milliseconds most = std::chrono::seconds(10))
    {
        const auto until = std::chrono::steady_clock::now() + most;
        while (!condition() && std::chrono::steady_clock::now() < until)
            if (!g_main_context_iteration(nullptr, FALSE))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return condition();
    }
    // Starts a game and waits for the scramble's end and its par.
    void ScrambleWithPar()
    {
        Form->StartButtonClick();
        ScrambleWithParOfStartedGame();
    }
    void ScrambleWithParOfStartedGame()
    {
        while (Form->tmrWarden.Enabled())
            Form->tmrWarden.Tick();
        ASSERT_TRUE(RunLoopUntil([this] { return Form->Hints->Coach().Par.has_value(); }));
    }
    // Long enough that nothing more arrives from the solver.
    static void Settle()
    {
        RunLoopUntil([] { return false; }, std::chrono::milliseconds(300));
    }
    // Plays the timer's ticks and lets the solver answer until the game is no longer played.
    bool PlayOut()
    {
        return RunLoopUntil([this] {
            if (Form->tmrWarden.Enabled())
                Form->tmrWarden.Tick();
            return !Game().Playing();
        });
    }

    TWindowAnnouncements Window;
};

TEST_F(WardenHintsTest, HintIsRefusedWithoutAGameDuringTheScrambleAndDuringAMove)
{
    Type('H', ssCtrl, 8);
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    Form->StartButtonClick();
    Ticks(1);
    Type('H', ssCtrl, 8);
    EXPECT_EQ(Form->tmrWarden.Interval(), ScrambleInterval);
    ScrambleWithPar();
    Form->KeyDown('A', 0);
    Form->KeyPress('a');
    Type('H', ssCtrl, 8);
    Form->KeyUp('A', 0);
    Ticks(4);
    Settle(); // no late hint comes either
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    EXPECT_EQ(Moves(), 1);
    EXPECT_FALSE(Form->Hints->Coach().Assisted);
}

TEST_F(WardenHintsTest, HintPlaysOneAnimatedMoveOfTheShortestWayAndAnnouncesIt)
{
    ScrambleWithPar();
    const int32_t par = Form->Hints->Coach().Par->Moves;
    ASSERT_TRUE(Form->Hints->Coach().Par->Shortest);
    EXPECT_EQ(par, static_cast<int32_t>(SolvingKeys(Game().Board).size()));
    EXPECT_NE(
        FormTooltipAt(*Form, 300, 200).find(" · par " + std::to_string(par)), std::string::npos);

    Type('H', ssCtrl, 8);
    ASSERT_TRUE(RunLoopUntil([this] { return Moves() == 1; }));
    EXPECT_TRUE(std::regex_match(
        Window.Announced.back(), std::regex("(Column [1-3] (up|down))|(Row [1-3] (left|right))")))
        << Window.Announced.back();
    Ticks(1);
    EXPECT_NE(BoardOnScreen(), SurfaceColours()) << "a slide frame shows";
    Ticks(2);
    EXPECT_TRUE(Form->tmrWarden.Enabled());
    Ticks(1);
    EXPECT_FALSE(Form->tmrWarden.Enabled()) << "the final picture at the fourth tick";
    EXPECT_EQ(BoardOnScreen(), SurfaceColours());
    EXPECT_EQ(Moves(), 1);
    if (par > 1) {
        EXPECT_EQ(static_cast<int32_t>(SolvingKeys(Game().Board).size()), par - 1);
    }
}

TEST_F(WardenHintsTest, ShowMeWinsTheGameWhichCountsAsWonButSetsNoBest)
{
    ScrambleWithPar();
    const int32_t par = Form->Hints->Coach().Par->Moves;
    Type('H', ssCtrl | ssShift, 8);
    ASSERT_TRUE(PlayOut());
    EXPECT_TRUE(Game().Won());
    EXPECT_EQ(Moves(), par);
    EXPECT_TRUE(Form->cmdStart.Enabled());
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), "[Statistics]\nBest3x3=50\nStarted3x3=1\nWon3x3=1\n");
}

TEST_F(WardenHintsTest, AFourByFourGameBuildsTheSolversTablesBeforeItsScrambleEnds)
{
    Form->ColRowButtonClick(Form->cmdColP);
    Form->ColRowButtonClick(Form->cmdRowP);
    ASSERT_EQ(Game().Board.Cols(), 4);
    ASSERT_EQ(Game().Board.Rows(), 4);

    // The scramble is held at its start, so no par is asked for meanwhile.
    Form->StartButtonClick();
    Form->tmrWarden.SetEnabled(false);
    EXPECT_TRUE(RunLoopUntil([] { return TSeventhTileTable::Built(); }, TableBuildWait));
    EXPECT_FALSE(Form->Hints->Coach().Par.has_value());
    Form->tmrWarden.SetEnabled(true);
    ScrambleWithParOfStartedGame();
    ASSERT_TRUE(Form->Hints->Coach().Par.has_value());
    EXPECT_TRUE(Form->Hints->Coach().Par->Shortest);
}

TEST_F(WardenHintsTest, AGameOfAnotherSizeCancelsTheOldSizesTablesAndBuildsItsOwn)
{
    if (TSeventhTileTable::Built())
        GTEST_SKIP() << "an earlier test in this process built the tables";
    Form->ColRowButtonClick(Form->cmdColP);
    Form->ColRowButtonClick(Form->cmdRowP);
    Form->StartButtonClick();
    Form->tmrWarden.SetEnabled(false);
    RunLoopUntil([] { return false; }, std::chrono::milliseconds(100));

    Form->ExitButtonClick();
    Form->ColRowButtonClick(Form->cmdColP);
    Form->ColRowButtonClick(Form->cmdRowP);
    ASSERT_EQ(Game().Board.Cols(), 5);
    ASSERT_EQ(Game().Board.Rows(), 5);
    Form->StartButtonClick();
    Form->tmrWarden.SetEnabled(false);

    EXPECT_TRUE(RunLoopUntil([] { return SolverPrepared(5, 5); }, TableBuildWait));
    EXPECT_FALSE(TSeventhTileTable::Built());
}

TEST_F(WardenHintsTest, AnyKeyOrClickStopsShowMeAfterTheMoveInHand)
{
    for (const bool byKey : {true, false}) {
        for (int32_t game = 0;
             game < 20 && (!Form->Hints->Coach().Par || Form->Hints->Coach().Par->Moves < 3);
             ++game) {
            Form->ExitButtonClick();
            ScrambleWithPar();
        }
        ASSERT_GE(Form->Hints->Coach().Par->Moves, 3);
        Type('H', ssCtrl | ssShift, 8);
        ASSERT_TRUE(RunLoopUntil([this] { return Moves() == 1; }));
        Ticks(4);
        EXPECT_EQ(Moves(), 2) << "the next move follows in the next cycle";
        if (byKey)
            Type(VK_SHIFT, ssShift, 0);
        else
            Form->pbxBoardMouseDown(TMouseButton::Left, ssLeft, 100, 100);
        Ticks(4);
        Settle();
        EXPECT_FALSE(Form->tmrWarden.Enabled());
        EXPECT_EQ(Moves(), 2);
        EXPECT_TRUE(Game().Playing());
        Form->ExitButtonClick();
    }
}

} // namespace
