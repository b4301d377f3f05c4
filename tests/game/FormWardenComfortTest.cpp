#include "FormWardenFixture.h"
#include "common/IniFile.h"
#include "platform/FormTooltip.h"
#include "support/MessageBoxRecorder.h"

namespace {

class FormWardenComfortTest : public TFormWardenFixture {
protected:
    FormWardenComfortTest()
        : TFormWardenFixture("[Options]\nShowSplash=0\n[Statistics]\nStarted3x3=x7\nWon3x3=-1\n"
                             "Best3x3=99999999999\nStarted4x3=2\n")
    {
        Form->OpenDocument = [this](const std::string& path) {
            Opened.push_back(path);
            return OpenAnswer;
        };
    }
    ~FormWardenComfortTest() override { SetDesktopAnimationsEnabled(true); }

    void Scramble()
    {
        Form->StartButtonClick();
        while (Form->tmrWarden.Enabled())
            Form->tmrWarden.Tick();
    }
    // A move by its key, run to its end.
    void Move(char key)
    {
        Type(static_cast<uint16_t>(std::toupper(key)), 0, key);
        Ticks(4);
    }
    // The up key of a column whose cells differ, so that its slide frames show; 0 if none.
    char MovingColumnKey()
    {
        const TRoadBoard& cells = Game().Board.Current;
        for (int32_t col = 1; col <= 3; ++col)
            if (!(cells.Cell(col, 1) == cells.Cell(col, 2)
                    && cells.Cell(col, 2) == cells.Cell(col, 3)))
                return static_cast<char>('a' + col - 1);
        return 0;
    }
    // Solves the scrambled 3 x 3 board but for its last rotation, holds that arrow past the
    // solution, and takes the extra rotation back with Ctrl+Z.
    void WinByUndo()
    {
        Scramble();
        const std::string keys = SolvingKeys(Game().Board);
        ASSERT_FALSE(keys.empty());
        for (size_t i = 0; i + 1 < keys.size(); ++i)
            Move(keys[i]);
        const auto last = static_cast<uint16_t>(std::toupper(keys.back()));
        Form->KeyDown(last, 0);
        Form->KeyPress(keys.back());
        Ticks(5); // held: solved at the fourth tick, rotated past it at the fifth
        Form->KeyUp(last, 0);
        Ticks(4);
        ASSERT_TRUE(Game().Playing());
        Type('Z', ssCtrl, 26);
        Ticks(4);
    }

    std::string PreviewTip() { return FormTooltipAt(*Form, 300, 200); }

    std::vector<std::string> Opened;
    bool OpenAnswer = true;
};

TEST_F(FormWardenComfortTest, UndoAndRedoReplayMovesWithTheirFramesAndANewMoveClearsRedo)
{
    Scramble();
    const TRoadBoard start = Game().Board.Current;
    Move('a');
    const TRoadBoard afterOne = Game().Board.Current;
    Move('2');
    const TRoadBoard afterTwo = Game().Board.Current;
    const char third = MovingColumnKey();
    ASSERT_NE(third, 0);
    Move(third);
    for (int32_t i = 0; i < 2; ++i) {
        Type('Z', ssCtrl, 26);
        ASSERT_TRUE(Form->tmrWarden.Enabled());
        Ticks(1);
        if (i == 0) {
            EXPECT_NE(BoardOnScreen(), SurfaceColours()) << "a slide frame at the first tick";
        }
        Ticks(3);
        EXPECT_FALSE(Form->tmrWarden.Enabled()) << "an undo never repeats";
    }
    EXPECT_EQ(Game().Board.Current, afterOne);
    Type('Y', ssCtrl, 25);
    Ticks(4);
    EXPECT_EQ(Game().Board.Current, afterTwo);
    EXPECT_EQ(Form->Play->Game.History().Moves(), 2);
    EXPECT_EQ(Form->Play->Game.History().Redoable(), 1);
    Form->KeyDown('Z', ssCtrl | ssShift); // redo, held: the keyboard's repeat does not act again
    Ticks(4);
    Form->KeyDown('Z', ssCtrl | ssShift);
    Form->KeyUp('Z', ssCtrl | ssShift);
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    EXPECT_EQ(Form->Play->Game.History().Moves(), 3);
    Type('Z', ssCtrl, 26);
    Ticks(4);
    Move('c');
    EXPECT_EQ(Form->Play->Game.History().Redoable(), 0);
    for (int32_t i = 0; i < 3; ++i) {
        Type('Z', ssCtrl, 26);
        Ticks(4);
    }
    EXPECT_EQ(Game().Board.Current, start);
    Type('Z', ssCtrl, 26); // nothing left to undo
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    EXPECT_TRUE(Game().Playing());
}

TEST_F(FormWardenComfortTest, UndoIsRefusedDuringTheScrambleAndAMoveCycle)
{
    Form->StartButtonClick();
    Form->tmrWarden.Tick();
    const TRoadBoard scrambling = Game().Board.Current;
    Type('Z', ssCtrl, 26);
    EXPECT_EQ(Form->tmrWarden.Interval(), ScrambleInterval);
    EXPECT_EQ(Game().Board.Current, scrambling);
    while (Form->tmrWarden.Enabled())
        Form->tmrWarden.Tick();
    Move('a');
    Type('B', 0, 'b');
    const TRoadBoard moving = Game().Board.Current;
    Type('Z', ssCtrl, 26);
    EXPECT_EQ(Game().Board.Current, moving);
    EXPECT_EQ(Form->Play->Game.History().Moves(), 2);
    Ticks(4);
    Form->ExitButtonClick();
    EXPECT_EQ(Form->Play->Game.History().Moves(), 0);
}

TEST_F(FormWardenComfortTest, AnUndoThatSolvesWinsThenStartSizeAndPictureClearTheHistory)
{
    const std::pair<const char*, std::function<void()>> clearers[] = {
        {"start", [this] { Type('N', ssCtrl, 14); }},
        {"size", [this] { Form->ColRowButtonClick(Form->cmdRowP); }},
        {"picture", [this] { Form->Play->NewPicture(); }},
    };
    for (const auto& [name, clear] : clearers) {
        WinByUndo();
        EXPECT_TRUE(Game().Won()) << name;
        EXPECT_TRUE(Form->cmdStart.Enabled()) << name;
        EXPECT_EQ(Form->Play->Game.History().Redoable(), 1) << name;
        clear();
        EXPECT_EQ(Form->Play->Game.History().Moves(), 0) << name;
        EXPECT_EQ(Form->Play->Game.History().Redoable(), 0) << name;
        Form->ExitButtonClick();
        Form->ColRowButtonClick(Form->cmdRowM);
    }
}

TEST_F(FormWardenComfortTest, AModifierOtherThanShiftWithALetterOrDigitPressesNoArrow)
{
    Scramble();
    const TRoadBoard before = Game().Board.Current;
    Type('A', ssCtrl, 1);
    Type('1', ssCtrl, '1');
    Type('B', ssAlt, 'b');
    Type('4', ssAlt | ssShift, '4');
    Type('C', ssSuper, 'c');
    Type('2', ssHyper, '2');
    Type('D', ssMeta | ssShift, 'D');
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    EXPECT_EQ(Game().Board.Current, before);
    Type('B', ssShift, 'B');
    EXPECT_TRUE(Form->tmrWarden.Enabled());
}

TEST_F(FormWardenComfortTest, CtrlNStartsOnlyWhenStartIsEnabledF1OpensTheManualCtrlQCloses)
{
    Type('N', ssCtrl, 14);
    EXPECT_TRUE(Game().Playing());
    Ticks(1);
    const TRoadBoard scrambling = Game().Board.Current;
    Type('N', ssCtrl, 14);
    EXPECT_EQ(Game().Board.Current, scrambling);

    Type(VK_F1, 0, 0);
    EXPECT_EQ(Opened, std::vector<std::string> {PW_BUILD_DIR "/manual.html"});
    TMessageBoxRecorder boxes;
    OpenAnswer = false;
    Type(VK_F1, 0, 0);
    ASSERT_EQ(boxes.Requests.size(), 1u);
    EXPECT_EQ(boxes.Requests[0].Text,
        "The player's guide could not be opened here. Open this file in a web "
        "browser:\n\n" PW_BUILD_DIR "/manual.html");

    Form->Show();
    Type('Q', ssCtrl, 17);
    EXPECT_FALSE(Form->Visible());
    Form->Show();
    Type('W', ssCtrl, 23);
    EXPECT_FALSE(Form->Visible());
}

TEST_F(FormWardenComfortTest, AShortcutWithAModifierItDoesNotNameDoesNothing)
{
    Form->Show();
    for (const TShiftState extra : {ssSuper, ssHyper, ssMeta}) {
        Type('N', ssCtrl | extra, 14);
        Type(VK_F1, extra, 0);
        Type('Q', ssCtrl | extra, 17);
        Type(VK_OEM_PLUS, ssCtrl | ssShift | extra, 0);
        EXPECT_FALSE(Game().Playing()) << extra;
        EXPECT_TRUE(Opened.empty()) << extra;
        EXPECT_TRUE(Form->Visible()) << extra;
        EXPECT_EQ(Form->Zoom(), 1) << extra;
    }
}

TEST_F(FormWardenComfortTest, AShortcutLetGoOutsideTheWindowDoesNotSwallowTheNextPress)
{
    TMessageBoxRecorder boxes;
    OpenAnswer = false;
    Form->KeyDown(VK_F1, 0); // let go inside the error box
    Type('N', ssCtrl, 14);
    EXPECT_TRUE(Game().Playing());
    Form->KeyDown(VK_F1, 0);
    Form->InputLost(); // let go in another window
    Form->KeyDown(VK_F1, 0);
    EXPECT_EQ(boxes.Requests.size(), 3u);
}

TEST_F(FormWardenComfortTest, WithAnimationsOffAMoveShowsItsFinalPictureAtOnceAndEndsAtTick4)
{
    Scramble();
    const char key = MovingColumnKey();
    ASSERT_NE(key, 0);
    SetDesktopAnimationsEnabled(false);
    Type(static_cast<uint16_t>(std::toupper(key)), 0, key);
    Ticks(1);
    const std::vector<TColour> first = BoardOnScreen();
    Ticks(2);
    EXPECT_EQ(BoardOnScreen(), first);
    EXPECT_EQ(first, SurfaceColours());
    EXPECT_TRUE(Form->tmrWarden.Enabled());
    Ticks(1);
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    SetDesktopAnimationsEnabled(true); // followed from the next move on
    Type(static_cast<uint16_t>(std::toupper(key)), 0, key);
    Ticks(1);
    EXPECT_NE(BoardOnScreen(), SurfaceColours());
}

TEST_F(FormWardenComfortTest, StatisticsCountGamesPerSizeReadJunkAsZeroAndShowOverThePreview)
{
    EXPECT_EQ(PreviewTip(), "3 × 3: won 0 of 0");
    EXPECT_EQ(FormTooltipAt(*Form, 100, 200), "");
    WinByUndo();
    const int32_t moves = Form->Play->Game.History().Moves();
    const std::string best = std::to_string(moves) + " moves";
    EXPECT_EQ(PreviewTip(),
        "3 × 3: won 1 of 1, best " + best + " · this game: " + best
            + " in 0:00 · a new record: fewest moves");
    Scramble();
    Now += 75'000;
    Move('a');
    EXPECT_EQ(PreviewTip(), "3 × 3: won 1 of 2, best " + best + " · this game: 1 move in 1:15");
    Form->ExitButtonClick();
    Form->ColRowButtonClick(Form->cmdColP);
    Scramble();
    Form->ExitButtonClick();
    EXPECT_EQ(PreviewTip(), "4 × 3: won 0 of 3");
    EXPECT_EQ(Folder.Read("Pathwarden.ini"),
        "[Options]\nShowSplash=0\n[Statistics]\nStarted3x3=2\nWon3x3=1\nBest3x3="
            + std::to_string(moves) + "\nStarted4x3=3\n");
}

TEST_F(FormWardenComfortTest, ThePreviewsTipReadsTheSettingsFileOncePerQuery)
{
    const std::size_t before = IniFileLoads();
    EXPECT_EQ(PreviewTip(), "3 × 3: won 0 of 0");
    EXPECT_EQ(IniFileLoads() - before, 1U);
}

} // namespace
