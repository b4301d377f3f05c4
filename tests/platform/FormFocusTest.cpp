#include "platform/Form.h"
#include "platform/PaintBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A tab stop that writes its keyboard presses to a log: v down, ^ a click, x a cancelled press.
struct TKeyBox : TPaintBox {
    TKeyBox(TForm& form, const char* name, std::string& log)
        : TPaintBox(form)
        , Log(log)
    {
        Name = name;
        TabStop = true;
    }
    void KeyboardPress() override { Log += Name + "v"; }
    void KeyboardRelease(bool click) override { Log += Name + (click ? "^" : "x"); }
    std::string& Log;
};

struct TFormFocusTest : ::testing::Test {
    void Key(uint16_t key, TShiftState shift, char typed)
    {
        Form.KeyDown(key, shift);
        Form.KeyPress(typed);
        Form.KeyUp(key, shift);
    }

    TForm Form;
    std::string Log;
    TKeyBox A {Form, "a", Log};
};

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
        Form.MouseDown(TMouseButton::Left, ssLeft, 0, 0); // no focus
        if (c.Focus)
            Key(VK_TAB, 0, '\t');
        reached.clear();
        Key(c.Key, c.Shift, c.Typed);
        EXPECT_EQ(reached.empty(), !c.Reaches) << c.Key << " " << c.Shift << ": " << reached;
    }
    A.TabStop = false;
    reached.clear();
    Key(VK_TAB, 0, '\t');
    EXPECT_EQ(reached, "d9p9u9") << "a form without tab stops gets its Tab";
}

TEST_F(TFormFocusTest, SpaceOrReturnPressesTheFocusedControlUntilLetGoAndALostInputCancels)
{
    Key(VK_TAB, 0, '\t');
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
    EXPECT_EQ(Form.FocusedControl(), nullptr);
}

} // namespace
