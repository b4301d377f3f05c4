#pragma once

#include "platform/Control.h"

#include <functional>

// A tab stop for something that the form draws itself and that acts on a click, such as a
// picture: it has no area of its own, so it paints nothing and the mouse passes it by; the ring
// goes round Area, and Space or Return calls OnClick.
class TFocusSpot final : public TControl {
public:
    explicit TFocusSpot(TForm& parent)
        : TControl(parent)
    {
        TabStop = true;
        SetBounds(0, 0, 0, 0);
    }

    // Where the thing is now, in client co-ordinates; empty while it is not there.
    std::function<TRect()> Area;
    std::function<void()> OnClick;

    TRect FocusRect() const override { return Area ? Area() : TRect {}; }
    void KeyboardRelease(bool click) override
    {
        if (click && OnClick)
            OnClick();
    }
};
