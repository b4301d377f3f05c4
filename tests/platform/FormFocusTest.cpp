#include "platform/Form.h"
#include "platform/PaintBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A tab stop that writes its keyboard presses to a log: v down, ^ a click, x a cancelled press.
struct TKeyBox : TPaintBox {
    TKeyBox(TForm& form, const char* name, TRect place, std::string& log)
        : TPaintBox(form)
        , Log(log)
    {
        Name = name;
        TabStop = true;
        SetBounds(place.Left, place.Top, RectWidth(place), RectHeight(place));
    }
    void KeyboardPress() override { Log += Name + "v"; }
    void KeyboardRelease(bool click) override { Log += Name + (click ? "^" : "x"); }
    std::string& Log;
};

// Four tab stops made in another order than they read: a b above, c d below.
struct TFormFocusTest : ::testing::Test {
    TFormFocusTest() { Form.SetClientSize(100, 60); }

    std::string Focused() const
    {
        return Form.FocusedControl() != nullptr ? Form.FocusedControl()->Name : "-";
    }
    void Key(uint16_t key, TShiftState shift, char typed)
    {
        Form.KeyDown(key, shift);
        Form.KeyPress(typed);
        Form.KeyUp(key, shift);
    }
    // '>' Tab, '<' Shift+Tab; the focus after each.
    std::string Tabs(const std::string& keys)
    {
        std::string seen;
        for (const char key : keys) {
            Key(VK_TAB, key == '<' ? ssShift : 0, '\t');
            seen += Focused();
        }
        return seen;
    }

    TForm Form;
    std::string Log;
    TKeyBox D {Form, "d", {60, 30, 90, 50}, Log};
    TKeyBox A {Form, "a", {10, 5, 30, 20}, Log};
    TKeyBox C {Form, "c", {10, 30, 30, 50}, Log};
    TKeyBox B {Form, "b", {60, 5, 90, 20}, Log};
    TPaintBox Plain {Form};
};

TEST_F(TFormFocusTest, TabGoesInReadingOrderRoundTheEndAndPassesOverWhatCannotTakeTheFocus)
{
    const struct {
        const char* Disabled;
        const char* Hidden;
        const char* Keys;
        const char* Seen;
    } cases[] = {
        {"", "", ">>>>>", "abcda"},
        {"", "", "<<<<<", "dcbad"},
        {"", "", ">><<", "abad"},
        {"b", "c", ">>>", "ada"},
        {"b", "c", "<<<", "dad"},
        {"abd", "c", "><", "--"},
    };
    for (const auto& c : cases) {
        Form.MouseDown(TMouseButton::Left, ssLeft, 0, 0); // no focus
        for (TKeyBox* box : {&A, &B, &C, &D}) {
            box->SetEnabled(std::string(c.Disabled).find(box->Name) == std::string::npos);
            box->SetVisible(std::string(c.Hidden).find(box->Name) == std::string::npos);
        }
        EXPECT_EQ(Tabs(c.Keys), c.Seen) << c.Keys << " with " << c.Disabled << c.Hidden << " off";
    }
}

TEST_F(TFormFocusTest, TheFocusKeysNeverReachTheFormsHandlersAndOtherKeysAlwaysDo)
{
    std::string reached;
    Form.OnKeyDown = [&](uint16_t& key, TShiftState) { reached += "d" + std::to_string(key); };
    Form.OnKeyPress = [&](char& key) { reached += "p" + std::to_string(key); };
    Form.OnKeyUp = [&](uint16_t& key, TShiftState) { reached += "u" + std::to_string(key); };
    const struct {
        bool Focus;
        uint16_t Key;
        TShiftState Shift;
        char Typed;
        bool Reaches;
    } cases[] = {
        {false, VK_SPACE, 0, ' ', true},
        {false, VK_RETURN, 0, '\r', true},
        {false, VK_TAB, 0, '\t', false},
        {true, VK_TAB, ssShift, '\t', false},
        {true, VK_SPACE, 0, ' ', false},
        {true, VK_RETURN, 0, '\r', false},
        {true, VK_TAB, ssCtrl, '\t', true},
        {true, VK_TAB, ssAlt, '\t', true},
        {true, VK_TAB, ssSuper, '\t', true},
        {true, VK_SPACE, ssCtrl, ' ', true},
        {true, VK_RETURN, ssShift, '\r', true},
        {true, 'B', 0, 'b', true},
    };
    for (const auto& c : cases) {
        Form.MouseDown(TMouseButton::Left, ssLeft, 0, 0);
        if (c.Focus)
            Tabs(">");
        reached.clear();
        Key(c.Key, c.Shift, c.Typed);
        EXPECT_EQ(reached.empty(), !c.Reaches) << c.Key << " " << c.Shift << ": " << reached;
    }
    Plain.TabStop = false;
    for (TKeyBox* box : {&A, &B, &C, &D})
        box->TabStop = false;
    reached.clear();
    Key(VK_TAB, 0, '\t');
    EXPECT_EQ(reached, "d9p9u9") << "a form without tab stops gets its Tab";
}

TEST_F(TFormFocusTest, SpaceOrReturnPressesTheFocusedControlUntilLetGoAndALostInputCancels)
{
    Tabs(">");
    Form.KeyDown(VK_SPACE, 0);
    Form.KeyDown(VK_SPACE, 0); // the keyboard's repeat
    Form.KeyDown(VK_RETURN, 0);
    Form.KeyUp(VK_RETURN, 0);
    Form.KeyUp(VK_SPACE, 0);
    EXPECT_EQ(Log, "ava^");
    Form.KeyDown(VK_RETURN, 0);
    Form.InputLost();
    Form.KeyUp(VK_RETURN, 0);
    EXPECT_EQ(Log, "ava^avax");
    Form.KeyDown(VK_SPACE, 0);
    Form.MouseDown(TMouseButton::Left, ssLeft, 0, 0);
    Form.KeyUp(VK_SPACE, 0);
    EXPECT_EQ(Log, "ava^avaxavax");
    EXPECT_EQ(Focused(), "-");
}

TEST_F(TFormFocusTest, AFocusedControlThatGoesHandsTheFocusToTheNearestAtTheNextPaint)
{
    Tabs(">>");
    B.SetEnabled(false);
    EXPECT_EQ(Focused(), "b") << "until what disabled it has enabled what comes instead";
    Form.Update();
    EXPECT_EQ(Focused(), "d");
    for (TKeyBox* box : {&A, &C, &D})
        box->SetVisible(false);
    Form.Update();
    EXPECT_EQ(Focused(), "-");
}

TEST_F(TFormFocusTest, TheRingShowsOnlyFromTabToTheNextClickAndLeavesNoTrace)
{
    Form.Update();
    const std::vector<uint32_t> atRest(
        Form.BackingStore().Pixels(), Form.BackingStore().Pixels() + 100 * 60);
    Tabs(">>>"); // c, at 10, 30
    Form.Update();
    const TPixelBuffer& store = Form.BackingStore();
    for (const TPoint p : {TPoint {8, 28}, TPoint {9, 28}, TPoint {28, 50}, TPoint {9, 50}})
        EXPECT_EQ(store.Pixel(p.X, p.Y), MakeColour(0, 0, 0)) << p.X << "," << p.Y;
    for (const TPoint p : {TPoint {10, 28}, TPoint {8, 30}, TPoint {31, 51}})
        EXPECT_EQ(store.Pixel(p.X, p.Y), MakeColour(255, 255, 255)) << p.X << "," << p.Y;
    EXPECT_EQ(store.Pixel(10, 30), Form.Color) << "the control itself is not drawn over";
    Form.MouseDown(TMouseButton::Right, ssRight, 95, 55);
    Form.Update();
    EXPECT_EQ(std::vector<uint32_t>(
                  Form.BackingStore().Pixels(), Form.BackingStore().Pixels() + 100 * 60),
        atRest);
}

} // namespace
