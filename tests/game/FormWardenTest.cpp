#include "game/FormWarden.h"
#include "GameTestSupport.h"
#include "platform/Screen.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempFolder.h"

#include <glib.h>

#include <chrono>

namespace {

class FormWardenTest : public ::testing::Test {
protected:
    FormWardenTest()
    {
        Random.FallBack(TestSeed());
        Application().Title = "Pathwarden";
        Form = std::make_unique<TFormWarden>(Hooks(), Random);
    }

    TFormWardenHooks Hooks()
    {
        return {PW_BUILD_DIR "/", [this] { ++AboutShown; }, nullptr};
    }
    TColour Colour(uint8_t index) { return Form->Library->GetHPal()->ColourOf(index); }
    void Click(TControl& control)
    {
        const TRect r = control.BoundsRect();
        Form->MouseDown(TMouseButton::Left, ssLeft, r.Left + 5, r.Top + 5);
        Form->MouseUp(TMouseButton::Left, 0, r.Left + 5, r.Top + 5);
    }
    void Scramble()
    {
        Click(Form->cmdStart);
        while (Form->tmrWarden.Enabled())
            Form->tmrWarden.Tick();
    }

    TScriptedRandom Random;
    int32_t AboutShown = 0;
    std::unique_ptr<TFormWarden> Form;
};

TEST_F(FormWardenTest, StartsIdleWithTheLayoutBothBoardsAndTheRightButtons)
{
    ASSERT_FALSE(Form->StartupFailed);
    EXPECT_EQ(Form->Caption(), "Pathwarden");
    EXPECT_EQ(Form->ClientRect(), (TRect {0, 0, 517, 403}));
    const std::pair<TControl*, TRect> layout[]
        = {{&Form->pbxBoard, {37, 104, 245, 312}}, {&Form->pbxBackBoard, {273, 104, 481, 312}},
            {&Form->cmdStart, {299, 329, 455, 357}}, {&Form->cmdExit, {299, 359, 455, 387}},
            {&Form->cmdColM, {43, 329, 83, 357}}, {&Form->cmdColP, {199, 329, 239, 357}},
            {&Form->cmdRowM, {43, 359, 83, 387}}, {&Form->cmdRowP, {199, 359, 239, 387}},
            {&Form->lblVersion, {3, 388, 50, 402}}, {&Form->BG, {0, 0, 517, 403}}};
    for (const auto& [control, bounds] : layout)
        EXPECT_EQ(control->BoundsRect(), bounds) << control->Name;
    for (TKelButton* b : {&Form->cmdStart, &Form->cmdColP, &Form->cmdRowP})
        EXPECT_TRUE(b->Enabled()) << b->Name;
    for (TKelButton* b : {&Form->cmdExit, &Form->cmdColM, &Form->cmdRowM})
        EXPECT_FALSE(b->Enabled()) << b->Name;
    EXPECT_EQ(Form->lblVersion.Caption(), "V1.7.5.2 (20110722)");
    EXPECT_EQ(Form->lblVersion.Visible(), CapsLockOn());
    Form->Update();
    const TPixelBuffer& store = Form->BackingStore();
    EXPECT_EQ(store.Pixel(37 + 56, 104 + 56), Colour(GridLineIndex)); // play board border
    EXPECT_EQ(store.Pixel(37 + 60, 104 + 153), Colour(EdgeLineIndex));
    TVX8ImageData& preview = *Form->Images->PreviewBoard;
    EXPECT_EQ(store.Pixel(273 + 100, 104 + 100), Colour(PixelOf(preview, 100, 100)));
    EXPECT_EQ(Form->Title.Rect, (TRect {71, 9, 446, 101}));
    Form->FormResize(); // at the designed size nothing moves
    EXPECT_EQ(Form->lblVersion.BoundsRect(), (TRect {3, 388, 50, 402}));
    EXPECT_EQ(Form->pbxBoard.BoundsRect(), (TRect {37, 104, 245, 312}));
    EXPECT_EQ(Form->QueryNewPalette(), 0);
    EXPECT_EQ(Form->PaletteChanged(nullptr), 0);
}

TEST_F(FormWardenTest, MissingLibraryIsReportedAndMarksTheStartUpFailed)
{
    const TTempFolder empty;
    TMessageBoxRecorder boxes;
    std::string reason;
    try {
        TVX8Library().Open(empty.Path("Warden.vx8"), true);
    } catch (const KelException& e) {
        reason = e.what();
    }
    TFormWarden failed({empty.Root.string() + "/", nullptr, nullptr}, Random);
    EXPECT_TRUE(failed.StartupFailed);
    ASSERT_EQ(boxes.Requests.size(), 1u);
    EXPECT_EQ(boxes.Requests[0].Kind, TMessageBoxKind::Error);
    EXPECT_EQ(boxes.Requests[0].Text, "Pathwarden encountered a problem on start-up: " + reason);
}

TEST_F(FormWardenTest, ButtonsKeysMouseAndTimerPlayThroughTheWindow)
{
    Click(Form->cmdColP);
    EXPECT_EQ(Form->Play->Game.Board.Cols(), 4);
    EXPECT_TRUE(Form->cmdColM.Enabled());
    Click(Form->cmdColM);
    Click(Form->cmdStart);
    EXPECT_TRUE(Form->tmrWarden.Enabled());
    EXPECT_EQ(Form->tmrWarden.Interval(), ScrambleInterval);
    EXPECT_TRUE(Form->cmdExit.Enabled() && !Form->cmdStart.Enabled());
    Form->MouseMove(0, 37 + 70, 104 + 40);
    EXPECT_EQ(Form->pbxBoard.Cursor(), crDefault) << "no hand during the scramble";
    Scramble();
    Form->MouseMove(0, 37 + 70, 104 + 40);
    EXPECT_EQ(Form->pbxBoard.Cursor(), 1);
    Form->MouseMove(0, 37 + 90, 104 + 40);
    EXPECT_EQ(Form->pbxBoard.Cursor(), crDefault);
    const TRoadBoard before = Form->Play->Game.Board.Current;
    Form->KeyDown('B', 0);
    Form->KeyPress('b');
    Form->KeyUp('B', 0);
    EXPECT_NE(Form->Play->Game.Board.Current, before);
    EXPECT_EQ(Form->tmrWarden.Interval(), MoveInterval);
    for (int32_t i = 0; i < 4; ++i)
        Form->tmrWarden.Tick();
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    Form->Update();
    TVX8ImageData& play = *Form->Images->PlayBoard;
    EXPECT_EQ(Form->BackingStore().Pixel(37 + 100, 104 + 70), Colour(PixelOf(play, 100, 70)));
    Click(Form->cmdExit);
    EXPECT_FALSE(Form->Play->Game.Playing);
    EXPECT_TRUE(Form->cmdStart.Enabled());
}

TEST_F(FormWardenTest, TitleOpensAboutOnLeftClickAndTheCaptionGivesANewPicture)
{
    Form->Update();
    Form->MouseDown(TMouseButton::Right, ssRight, 100, 50);
    EXPECT_EQ(AboutShown, 0);
    Form->MouseDown(TMouseButton::Left, ssLeft, 100, 50);
    EXPECT_EQ(AboutShown, 1);
    Form->MouseMove(0, 100, 50);
    EXPECT_EQ(Form->Cursor(), 1);
    const TRoadBoard before = Form->Play->Game.Board.Current;
    Form->MouseDown(TMouseButton::Left, ssLeft, 120, 340);
    EXPECT_NE(Form->Play->Game.Board.Current, before);
}

// Idle costs nothing: no timer runs and no source of the main loop fires.
TEST_F(FormWardenTest, IdleWindowRunsNoTimerAndNothingFiresForASecond)
{
    auto dispatchedWithin = [](std::chrono::milliseconds span) {
        int32_t dispatched = 0;
        for (const auto end = std::chrono::steady_clock::now() + span;
             std::chrono::steady_clock::now() < end; g_usleep(5000))
            while (g_main_context_iteration(nullptr, FALSE))
                ++dispatched;
        return dispatched;
    };
    Form->Show();
    // The window appears and paints, and the toolkit settles once a little later (later still
    // on a busy machine): wait for three quiet quarters of a second, for ten seconds at most.
    for (int32_t waited = 0; waited < 13; ++waited)
        if (dispatchedWithin(std::chrono::milliseconds(750)) == 0)
            break;
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    EXPECT_EQ(dispatchedWithin(std::chrono::seconds(1)), 0);
    Form->Hide();
}

} // namespace
