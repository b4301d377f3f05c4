// The keyboard focus of a form's windowless controls: Tab and Shift+Tab move it over the tab
// stops in reading order, Space and Return press the focused control, and a ring shows where it
// is. Until Tab is pressed there is no focus, so that the window looks and acts as designed.

#include "platform/AccessibleModel.h"
#include "platform/Control.h"
#include "platform/Form.h"

#include <algorithm>
#include <utility>

namespace {

// The ring lies just outside the control: a band of black and white dashes, which shows on any
// picture.
constexpr int32_t RingWidth = 2;
constexpr TColour RingDark = MakeColour(0, 0, 0);
constexpr TColour RingLight = MakeColour(255, 255, 255);

TRect RingRect(const TControl& control)
{
    const TRect r = control.FocusRect();
    return {r.Left - RingWidth, r.Top - RingWidth, r.Right + RingWidth, r.Bottom + RingWidth};
}

bool ReadsBefore(const TControl* a, const TControl* b)
{
    const TRect ra = a->FocusRect();
    const TRect rb = b->FocusRect();
    return ra.Top != rb.Top ? ra.Top < rb.Top : ra.Left < rb.Left;
}

// Twice the centre, to stay in whole pixels.
TPoint Centre2(const TControl& control)
{
    const TRect r = control.FocusRect();
    return {r.Left + r.Right, r.Top + r.Bottom};
}

} // namespace

void TForm::FocusNext(bool backwards)
{
    std::vector<TControl*> stops;
    for (TControl* control : FControls)
        if (control->CanFocus() || control == FFocused)
            stops.push_back(control);
    std::stable_sort(stops.begin(), stops.end(), ReadsBefore);
    if (backwards)
        std::reverse(stops.begin(), stops.end());
    const auto at = std::find(stops.begin(), stops.end(), FFocused);
    // Round the end from the focused control, or from before the first without one.
    std::rotate(stops.begin(), at == stops.end() ? stops.begin() : at + 1, stops.end());
    const auto next = std::find_if(
        stops.begin(), stops.end(), [](const TControl* control) { return control->CanFocus(); });
    MoveFocus(next == stops.end() ? nullptr : *next);
}

void TForm::MoveFocus(TControl* control)
{
    if (control == FFocused)
        return;
    CancelKeyboardPress();
    if (FFocused != nullptr)
        InvalidateRect(RingRect(*FFocused));
    FFocused = control;
    if (FFocused != nullptr)
        InvalidateRect(RingRect(*FFocused));
    AccessibleFocusMoved(*this);
}

// The focused control can no longer take the focus: its ring goes at once, and the focus moves on
// when the form next paints, by when whatever disabled it has enabled what comes instead (Start
// gives way to Exit).
void TForm::FocusMayHaveGone(TControl* control)
{
    if (control != FFocused || control->CanFocus())
        return;
    CancelKeyboardPress();
    InvalidateRect(RingRect(*control));
}

// To the nearest control that takes the focus, the first in reading order of those as near.
void TForm::SettleFocus()
{
    if (FFocused == nullptr || FFocused->CanFocus())
        return;
    const TPoint from = Centre2(*FFocused);
    std::vector<TControl*> stops;
    for (TControl* control : FControls)
        if (control->CanFocus())
            stops.push_back(control);
    std::stable_sort(stops.begin(), stops.end(), ReadsBefore);
    TControl* nearest = nullptr;
    int64_t best = 0;
    for (TControl* control : stops) {
        const TPoint to = Centre2(*control);
        const int64_t dx = to.X - from.X;
        const int64_t dy = to.Y - from.Y;
        if (nearest == nullptr || dx * dx + dy * dy < best) {
            nearest = control;
            best = dx * dx + dy * dy;
        }
    }
    MoveFocus(nearest);
}

void TForm::CancelKeyboardPress()
{
    if (std::exchange(FKeyboardPress, 0) != 0 && FFocused != nullptr)
        FFocused->KeyboardRelease(false);
}

bool TForm::FocusKeyDown(uint16_t key, TShiftState shift)
{
    FCharacterTaken = 0;
    const TShiftState modifiers = shift & ssModifiers;
    const bool tabStops = std::any_of(
        FControls.begin(), FControls.end(), [](const TControl* c) { return c->TabStop; });
    if (key == VK_TAB && (modifiers & ~ssShift) == 0 && tabStops) {
        FocusNext((modifiers & ssShift) != 0);
        FCharacterTaken = '\t';
    } else if ((key == VK_SPACE || key == VK_RETURN) && modifiers == 0 && FFocused != nullptr) {
        SettleFocus();
        // The keyboard repeats a held key: the press began with its first.
        if (FFocused != nullptr && FKeyboardPress == 0) {
            FKeyboardPress = key;
            FFocused->KeyboardPress();
        }
        FCharacterTaken = key == VK_SPACE ? ' ' : '\r';
    } else
        return false;
    if (std::find(FKeysTaken.begin(), FKeysTaken.end(), key) == FKeysTaken.end())
        FKeysTaken.push_back(key);
    return true;
}

bool TForm::FocusKeyUp(uint16_t key)
{
    if (std::erase(FKeysTaken, key) == 0)
        return false;
    if (key == FKeyboardPress) {
        FKeyboardPress = 0;
        if (FFocused != nullptr) {
            FFocused->KeyboardRelease(true);
            SettleFocus();
        }
    }
    return true;
}

void TForm::PaintFocusRing(const TRect& area)
{
    if (FFocused == nullptr || !FFocused->CanFocus())
        return;
    const TRect ring = RingRect(*FFocused);
    TRect part;
    if (!IntersectRect(part, area, ring) || !IntersectRect(part, part, ClientRect()))
        return;
    const TRect inside {ring.Left + RingWidth, ring.Top + RingWidth, ring.Right - RingWidth,
        ring.Bottom - RingWidth};
    uint32_t* pixels = Store.Pixels();
    for (int32_t y = part.Top; y < part.Bottom; ++y)
        for (int32_t x = part.Left; x < part.Right; ++x) {
            const bool across = y < inside.Top || y >= inside.Bottom;
            if (!across && x >= inside.Left && x < inside.Right)
                continue;
            const int32_t along = across ? x - ring.Left : y - ring.Top;
            pixels[static_cast<size_t>(y) * Store.Width() + x]
                = (along / RingWidth) % 2 == 0 ? RingDark : RingLight;
        }
}
