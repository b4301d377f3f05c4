#include "GameTestSupport.h"
#include "game/FormWarden.h"

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

class FormWardenFocusTest : public ::testing::Test {
protected:
    FormWardenFocusTest()
    {
        Random.FallBack(TestSeed());
        Application().Title = "Pathwarden";
        Form = std::make_unique<TFormWarden>(
            TFormWardenHooks {PW_BUILD_DIR "/", [this] { ++AboutShown; }, nullptr}, Random);
        Form->Update(); // the pictures take their places
    }

    void Key(uint16_t key, TShiftState shift = 0)
    {
        Form->KeyDown(key, shift);
        Form->KeyUp(key, shift);
    }
    std::string Tabs(int32_t n, TShiftState shift = 0)
    {
        std::string seen;
        for (int32_t i = 0; i < n; ++i) {
            Key(VK_TAB, shift);
            seen += (seen.empty() ? "" : " ") + Form->FocusedControl()->Name;
        }
        return seen;
    }
    void FocusOn(const TControl& control)
    {
        for (int32_t i = 0; i < 10 && Form->FocusedControl() != &control; ++i)
            Key(VK_TAB);
        ASSERT_EQ(Form->FocusedControl(), &control);
    }
    void Ticks()
    {
        while (Form->tmrWarden.Enabled())
            Form->tmrWarden.Tick();
    }
    std::vector<uint32_t> Drawn()
    {
        Form->Update();
        TPixelBuffer& store = Form->BackingStore();
        return {store.Pixels(), store.Pixels() + store.Width() * store.Height()};
    }

    TScriptedRandom Random;
    int32_t AboutShown = 0;
    std::unique_ptr<TFormWarden> Form;
};

TEST_F(FormWardenFocusTest, TabGoesOverWhatActsNowInReadingOrderAndShiftTabBack)
{
    EXPECT_EQ(Tabs(6), "TitleSpot ColRowSpot cmdColP cmdStart cmdRowP TitleSpot");
    EXPECT_EQ(Tabs(5, ssShift), "cmdRowP cmdStart cmdColP ColRowSpot TitleSpot");
    Form->cmdColP.DoAccessibleAction();
    Form->cmdRowP.DoAccessibleAction();
    EXPECT_EQ(Tabs(7), "cmdColM ColRowSpot cmdColP cmdStart cmdRowM cmdRowP TitleSpot");
    Form->cmdStart.DoAccessibleAction();
    Ticks();
    EXPECT_EQ(Tabs(3), "cmdExit TitleSpot cmdExit");
}

TEST_F(FormWardenFocusTest, SpaceAndReturnDoWhatAClickDoesAndTheFocusMovesOnFromWhatWentOff)
{
    const TRoadBoard dealt = Form->Play->Game.Board.Current;
    const struct {
        TControl* Control;
        uint16_t Key;
        std::function<bool()> Done;
        TControl* FocusAfter;
    } cases[] = {
        {&Form->ColRowSpot, VK_SPACE, [&] { return Form->Play->Game.Board.Current != dealt; },
            &Form->ColRowSpot},
        {&Form->TitleSpot, VK_RETURN, [&] { return AboutShown == 1; }, &Form->TitleSpot},
        {&Form->cmdColP, VK_SPACE, [&] { return Form->Play->Game.Board.Cols() == 4; },
            &Form->cmdColP},
        {&Form->cmdColM, VK_RETURN, [&] { return Form->Play->Game.Board.Cols() == 3; },
            &Form->ColRowSpot},
        {&Form->cmdRowP, VK_RETURN, [&] { return Form->Play->Game.Board.Rows() == 4; },
            &Form->cmdRowP},
        {&Form->cmdRowM, VK_SPACE, [&] { return Form->Play->Game.Board.Rows() == 3; },
            &Form->ColRowSpot},
        {&Form->cmdStart, VK_SPACE, [&] { return Form->Play->Game.Playing(); }, &Form->cmdExit},
        {&Form->cmdExit, VK_RETURN, [&] { return !Form->Play->Game.Playing(); }, &Form->cmdStart},
    };
    for (const auto& c : cases) {
        FocusOn(*c.Control);
        Form->KeyDown(c.Key, 0);
        EXPECT_FALSE(c.Done()) << c.Control->Name << " acts when the key is let go";
        Form->KeyUp(c.Key, 0);
        EXPECT_TRUE(c.Done()) << c.Control->Name;
        Form->Update();
        EXPECT_EQ(Form->FocusedControl(), c.FocusAfter) << c.Control->Name;
    }
}

// Idle, playing, mid-slide and won: a Tab shows the ring, and a click takes it away again
// without a trace.
TEST_F(FormWardenFocusTest, TheWindowLooksAsDesignedBeforeTabAndAfterAClickInEveryState)
{
    const std::vector<std::function<void()>> states = {
        [] {},
        [&] {
            Form->cmdStart.DoAccessibleAction();
            Ticks();
        },
        [&] {
            const char key = SolvingKeys(Form->Play->Game.Board)[0];
            Form->KeyDown(static_cast<uint16_t>(std::toupper(key)), 0);
            Form->KeyPress(key);
            Form->tmrWarden.Tick();
            Form->tmrWarden.Tick();
        },
        [&] {
            Form->KeyUp('A', 0);
            Ticks();
            for (const char key : SolvingKeys(Form->Play->Game.Board)) {
                Form->KeyDown(static_cast<uint16_t>(std::toupper(key)), 0);
                Form->KeyPress(key);
                Form->KeyUp(static_cast<uint16_t>(std::toupper(key)), 0);
                Ticks();
            }
            ASSERT_TRUE(Form->Play->Game.Won());
        },
    };
    for (size_t i = 0; i < states.size(); ++i) {
        states[i]();
        const std::vector<uint32_t> atRest = Drawn();
        Key(VK_TAB);
        EXPECT_NE(Drawn(), atRest) << "state " << i;
        Form->MouseDown(TMouseButton::Right, ssRight, 5, 5);
        Form->MouseUp(TMouseButton::Right, 0, 5, 5);
        EXPECT_EQ(Drawn(), atRest) << "state " << i;
    }
}

} // namespace
