#pragma once

#include "common/KelRect.h"
#include "platform/Cursors.h"
#include "raster/DisplayPalette.h"
#include "raster/DrawingTools.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TNativeControl;
// The toolkit widget behind a native control; known only inside the platform layer.
struct TNativeWidget;

// Where native controls live: a dialog's client area or a panel. Children keep the order in
// which they were made; later ones lie on top.
class TNativeHost {
public:
    TNativeHost() = default;
    virtual ~TNativeHost() = default;
    TNativeHost(const TNativeHost&) = delete;
    TNativeHost& operator=(const TNativeHost&) = delete;

    const std::vector<TNativeControl*>& Children() const { return FChildren; }
    // The topmost visible and enabled control under a point of the host, looking into panels;
    // at is then the point in that control's co-ordinates. None when the point is on the host.
    TNativeControl* NativeControlAt(TPoint point, TPoint& at) const;
    // The container the children are placed in.
    virtual TNativeWidget& Container() const = 0;

private:
    friend class TNativeControl;
    std::vector<TNativeControl*> FChildren;
};

// A control that is a widget of the toolkit, placed at an exact position of its host. It joins
// the host on construction and leaves it when destroyed.
class TNativeControl {
public:
    virtual ~TNativeControl();
    TNativeControl(const TNativeControl&) = delete;
    TNativeControl& operator=(const TNativeControl&) = delete;

    std::string Name;
    TNativeHost& Host() const { return FHost; }

    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    const TRect& BoundsRect() const { return Bounds; }
    // Where the toolkit placed the control in its host at the last layout; empty before the
    // control was shown.
    TRect PlacedRect() const;

    bool Visible() const { return IsVisible; }
    void SetVisible(bool visible);
    // A disabled control takes no input; its mouse movement and clicks go to what lies below.
    bool Enabled() const { return IsEnabled; }
    void SetEnabled(bool enabled);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor) { FCursor = cursor; }
    bool Focused() const;
    void SetFocus();

    // Pointer movement over the control, in its co-ordinates. A control without a handler
    // keeps the movement from the host.
    std::function<void(int32_t x, int32_t y)> OnMouseMove;
    // A press and release of the left button on the control, or the control's own activation.
    std::function<void()> OnClick;
    void Click();

    TNativeWidget& Widget() const { return *FWidget; }

protected:
    TNativeControl(TNativeHost& host, std::unique_ptr<TNativeWidget> widget);

private:
    TNativeHost& FHost;
    std::unique_ptr<TNativeWidget> FWidget;
    TRect Bounds {};
    bool IsVisible = true;
    bool IsEnabled = true;
    TCursor FCursor = crDefault;
};

// A text in one font, colour and alignment, optionally word-wrapped; its background is that of
// whatever lies below.
class TNativeLabel : public TNativeControl {
public:
    explicit TNativeLabel(TNativeHost& host);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& font);
    TTextAlign Alignment() const { return FAlign; }
    void SetAlignment(TTextAlign align);
    void SetWordWrap(bool wrap);
    // Extra room between letters in pixels; negative values tighten a heading to its place.
    void SetLetterSpacing(double pixels);
    // Whether the laid-out text needs more room than the label has.
    bool TextClipped() const;

private:
    void ApplyText();
    std::string FCaption;
    TFont FFont;
    TTextAlign FAlign = TTextAlign::Left;
    double FLetterSpacing = 0;
};

// A push button. The default button answers the Enter key wherever the focus is, except on
// another push button.
class TNativeButton : public TNativeControl {
public:
    explicit TNativeButton(TNativeHost& host);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    void SetFont(const TFont& font);
    void SetDefault(bool isDefault);
    bool Default() const;
};

// A check box; checking it from the program fires OnClick as a click does.
class TNativeCheckBox : public TNativeControl {
public:
    explicit TNativeCheckBox(TNativeHost& host);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    void SetFont(const TFont& font);
    bool Checked() const;
    void SetChecked(bool checked);
};

// A filled rounded rectangle with a one-pixel black outline.
class TNativeShape : public TNativeControl {
public:
    explicit TNativeShape(TNativeHost& host);
    TColour BrushColour() const { return FBrush; }
    void SetBrushColour(TColour colour);

private:
    TColour FBrush = MakeColour(255, 255, 255);
};

// The etched frame of a lowered bevel.
class TNativeBevel : public TNativeControl {
public:
    explicit TNativeBevel(TNativeHost& host);
};

// A picture stretched to the control, its transparent pixels showing what lies below.
class TNativePicture : public TNativeControl {
public:
    explicit TNativePicture(TNativeHost& host);
    // From 32-bit pixels 0xAARRGGBB, rows top-down; false (and no picture) when the size and
    // the pixels do not agree.
    bool SetPicture(int32_t width, int32_t height, std::span<const uint32_t> pixels);
    // From a picture file (PNG and the other formats the toolkit reads); false, and no
    // picture, when the file is missing or cannot be read.
    bool LoadFromFile(const std::string& fileName);
    bool HasPicture() const;
};

// A panel with a lowered edge, filled with the window colour, that hosts controls of its own
// and covers what lies below it.
class TNativePanel : public TNativeControl, public TNativeHost {
public:
    explicit TNativePanel(TNativeHost& host);
    TNativeWidget& Container() const override;
};
