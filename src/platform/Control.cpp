#include "platform/Control.h"

#include "platform/Form.h"

#include <algorithm>

TControlDC::TControlDC(TControl& control)
    : Control(control)
    , Context(control.Parent().BackingStore())
{
    Context.SetOrigin({control.Left(), control.Top()});
    Context.SetClipBox(control.ClientRect());
}

TControlDC::~TControlDC()
{
    Control.Parent().QueueScreenUpdate(Control.BoundsRect());
}

TControl::TControl(TForm& parent)
    : Form(parent)
{
    Form.AddControl(this);
}

TControl::~TControl()
{
    Form.RemoveControl(this);
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height)
{
    const TRect bounds = Alignment == TAlign::Client
        ? Form.ClientRect()
        : TRect {left, top, left + std::max(width, 0), top + std::max(height, 0)};
    if (bounds == Bounds)
        return;
    Invalidate();
    // The focus ring lies outside the control.
    if (Focused())
        Form.Invalidate();
    Bounds = bounds;
    Invalidate();
}

void TControl::SetAlign(TAlign align)
{
    Alignment = align;
    SetBounds(Left(), Top(), Width(), Height());
}

void TControl::SetVisible(bool visible)
{
    if (visible == IsVisible)
        return;
    IsVisible = visible;
    Form.InvalidateRect(Bounds);
    Form.RefreshCursor();
    Form.FocusMayHaveGone(this);
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == IsEnabled)
        return;
    IsEnabled = enabled;
    Invalidate();
    Form.RefreshCursor();
    Form.FocusMayHaveGone(this);
}

bool TControl::CanFocus() const
{
    return TabStop && IsVisible && IsEnabled && !IsRectEmpty(FocusRect());
}

bool TControl::Focused() const
{
    return Form.FocusedControl() == this;
}

TAccessibleState TControl::AccessibleState() const
{
    return {
        .Visible = IsVisible, .Enabled = IsEnabled, .Focusable = CanFocus(), .Focused = Focused()};
}

void TControl::SetCursor(TCursor cursor)
{
    ControlCursor = cursor;
    Form.RefreshCursor();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    if (OnMouseDown)
        OnMouseDown(button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y)
{
    if (OnMouseMove)
        OnMouseMove(shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    if (OnMouseUp)
        OnMouseUp(button, shift, x, y);
}

void TControl::Paint(TCanvas&)
{
}

void TControl::Invalidate()
{
    if (IsVisible)
        Form.InvalidateRect(Bounds);
}

void TControl::Update()
{
    Form.Update();
}

void TCanvas::FrameRect(const TRect& r)
{
    if (IsRectEmpty(r))
        return;
    FillRect({r.Left, r.Top, r.Right, r.Top + 1});
    FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
    FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
}
