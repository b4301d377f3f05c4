#pragma once

#include "common/KelRect.h"
#include "platform/Canvas.h"
#include "platform/Cursors.h"
#include "platform/Input.h"
#include "raster/DeviceContext.h"

#include <cstdint>
#include <functional>
#include <string>

class TForm;
class TControl;

enum class TAlign : uint8_t { None, Client };

// What assistive technology is told about a control.
enum class TAccessibleRole : uint8_t { None, Picture, PushButton, Link };

struct TAccessibleState {
    bool Visible = false;
    bool Enabled = false;
    bool Pressed = false;
    bool Checked = false;
    bool Focusable = false;
    bool Focused = false;
};

// A device context on the form's backing store limited to one control, for drawing outside a
// paint; when it goes, the control's area is copied to the screen at the next frame.
class TControlDC {
public:
    explicit TControlDC(TControl& control);
    ~TControlDC();
    TControlDC(const TControlDC&) = delete;
    TControlDC& operator=(const TControlDC&) = delete;

    TDeviceContext& DC() { return Context; }

private:
    TControl& Control;
    TDeviceContext Context;
};

// A control without a window of its own: it lives on its form's client area, paints into the
// form's backing store and gets the mouse input that the form routes to it. It joins the form's
// controls on construction, on top of the earlier ones, and leaves them when destroyed; it must
// not outlive its form.
class TControl {
public:
    explicit TControl(TForm& parent);
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    TForm& Parent() const { return Form; }

    int32_t Left() const { return Bounds.Left; }
    int32_t Top() const { return Bounds.Top; }
    int32_t Width() const { return RectWidth(Bounds); }
    int32_t Height() const { return RectHeight(Bounds); }
    TRect BoundsRect() const { return Bounds; }
    TRect ClientRect() const { return {0, 0, Width(), Height()}; }
    // Repaints the old and the new area; a client-aligned control keeps its form's client area.
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    void SetPosition(int32_t left, int32_t top) { SetBounds(left, top, Width(), Height()); }
    void SetAlign(TAlign align);
    TAlign Align() const { return Alignment; }

    bool Visible() const { return IsVisible; }
    void SetVisible(bool visible);
    // A disabled control still paints; its mouse input goes to whatever lies below it.
    bool Enabled() const { return IsEnabled; }
    void SetEnabled(bool enabled);
    TCursor Cursor() const { return ControlCursor; }
    void SetCursor(TCursor cursor);

    // Tab stops at the control while it is visible and enabled and has a place on the form; the
    // form's tab order is the reading order of those places.
    bool TabStop = false;
    bool CanFocus() const;
    // Whether the keyboard focus is here: only after Tab, until the next mouse click.
    bool Focused() const;
    // Where the control is for the focus ring and the tab order, in client co-ordinates.
    virtual TRect FocusRect() const { return Bounds; }
    // Space or Return on the focused control: the key goes down, then it is let go, which clicks
    // unless the press was cancelled (the focus or the input went elsewhere meanwhile).
    virtual void KeyboardPress() { }
    virtual void KeyboardRelease(bool /*click*/) { }

    std::string Name;
    intptr_t Tag = 0;

    // Style: paints every pixel of its area (the form need not paint behind it); captures the
    // mouse while a button is held on it, so moves and the release arrive even outside it.
    bool Opaque() const { return StyleOpaque; }
    bool CapturesMouse() const { return StyleCaptureMouse; }

    // Mouse input in control co-ordinates; the defaults call the events below.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    std::function<void(TMouseButton, TShiftState, int32_t, int32_t)> OnMouseDown;
    std::function<void(TShiftState, int32_t, int32_t)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int32_t, int32_t)> OnMouseUp;

    // Draws the control; the canvas is in control co-ordinates, clipped to the part being
    // repainted.
    virtual void Paint(TCanvas& canvas);
    // Asks for the control's area to be repainted before the next frame.
    void Invalidate();
    // Repaints what is pending on the form now.
    void Update();
    TControlDC GetDC() { return TControlDC(*this); }

    virtual TAccessibleState AccessibleState() const;
    // The control's default action (a button's click); false when it has none.
    virtual bool DoAccessibleAction() { return false; }

protected:
    void SetOpaque(bool opaque) { StyleOpaque = opaque; }
    void SetCaptureMouse(bool capture) { StyleCaptureMouse = capture; }

private:
    friend class TForm;
    TForm& Form;
    TRect Bounds {0, 0, 0, 0};
    TAlign Alignment = TAlign::None;
    bool IsVisible = true;
    bool IsEnabled = true;
    bool StyleOpaque = false;
    bool StyleCaptureMouse = false;
    TCursor ControlCursor = crDefault;
};
