#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/Form.h"
#include "platform/GtkGlue.h"
#include "platform/Screen.h"

#include <algorithm>
#include <utility>

namespace {

TShiftState ButtonFlag(TMouseButton button)
{
    switch (button) {
    case TMouseButton::Left:
        return ssLeft;
    case TMouseButton::Right:
        return ssRight;
    case TMouseButton::Middle:
        return ssMiddle;
    }
    return 0;
}

} // namespace

void TForm::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    // The mouse ends the keyboard's turn: the ring goes, and the window looks as designed again.
    MoveFocus(nullptr);
    ButtonsDown |= ButtonFlag(button);
    ButtonsLost &= ~ButtonFlag(button);
    TControl* target = Capture != nullptr ? Capture : ControlAt(x, y);
    if (target == nullptr) {
        if (OnMouseDown)
            OnMouseDown(button, shift, x, y);
        return;
    }
    if (Capture == nullptr && target->CapturesMouse())
        Capture = target;
    target->MouseDown(button, shift, x - target->Left(), y - target->Top());
}

void TForm::MouseMove(TShiftState shift, int32_t x, int32_t y)
{
    PointerAt = {x, y};
    TControl* target = Capture != nullptr ? Capture : ControlAt(x, y);
    if (target != nullptr)
        target->MouseMove(shift, x - target->Left(), y - target->Top());
    else if (OnMouseMove)
        OnMouseMove(shift, x, y);
    RefreshCursor();
}

void TForm::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    ButtonsDown &= ~ButtonFlag(button);
    if ((ButtonsLost & ButtonFlag(button)) != 0) {
        ButtonsLost &= ~ButtonFlag(button);
        return;
    }
    TControl* target = Capture != nullptr ? Capture : ControlAt(x, y);
    // The capture ends with the last button released, before the handler runs, so that a
    // handler that opens a window does not leave the capture behind.
    if ((shift & (ssLeft | ssRight | ssMiddle) & ~ButtonFlag(button)) == 0)
        Capture = nullptr;
    if (target != nullptr)
        target->MouseUp(button, shift, x - target->Left(), y - target->Top());
    else if (OnMouseUp)
        OnMouseUp(button, shift, x, y);
    RefreshCursor();
}

void TForm::KeyDown(uint16_t key, TShiftState shift)
{
    if (std::find(KeysDown.begin(), KeysDown.end(), key) == KeysDown.end())
        KeysDown.push_back(key);
    if (FocusKeyDown(key, shift))
        return;
    if (OnKeyDown)
        OnKeyDown(key, shift);
}

void TForm::KeyPress(char key)
{
    if (key == std::exchange(FCharacterTaken, 0))
        return;
    if (OnKeyPress)
        OnKeyPress(key);
}

void TForm::KeyUp(uint16_t key, TShiftState shift)
{
    std::erase(KeysDown, key);
    if (FocusKeyUp(key))
        return;
    if (OnKeyUp)
        OnKeyUp(key, shift);
}

void TForm::InputLost()
{
    CancelKeyboardPress();
    for (const uint16_t key : std::exchange(KeysDown, {}))
        KeyUp(key, 0);
    TShiftState held = std::exchange(ButtonsDown, 0);
    ButtonsLost |= held;
    TControl* capture = std::exchange(Capture, nullptr);
    for (const TMouseButton button :
        {TMouseButton::Left, TMouseButton::Right, TMouseButton::Middle})
        if (capture != nullptr && (held & ButtonFlag(button)) != 0) {
            held &= ~ButtonFlag(button);
            capture->MouseUp(button, held, -1, -1);
        }
    RefreshCursor();
}

void TForm::Activate()
{
    Application().FormActivated(*this);
    if (OnActivate)
        OnActivate();
}

void TForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate();
}

TCursor TForm::EffectiveCursor() const
{
    if (ScreenCursor() != crDefault)
        return ScreenCursor();
    const TControl* over = Capture != nullptr ? Capture : ControlAt(PointerAt.X, PointerAt.Y);
    if (over != nullptr && over->Cursor() != crDefault)
        return over->Cursor();
    return FormCursor;
}

void TForm::RefreshCursor()
{
    GdkWindow* window = gtk_widget_get_window(FWindow->Area);
    if (window != nullptr)
        gdk_window_set_cursor(window, ToolkitCursor(EffectiveCursor()));
}
