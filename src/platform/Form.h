#pragma once

#include "common/KelRect.h"
#include "platform/Canvas.h"
#include "platform/Cursors.h"
#include "platform/Input.h"
#include "raster/DeviceContext.h"
#include "raster/DrawingTools.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TControl;

enum class TCloseAction : uint8_t { None, Hide };

// A top-level window with a fixed client size. Its client area is one drawing area on which the
// windowless controls live; it keeps a backing store of the client area (32-bit pixels) that
// painting fills and that the screen shows, scaled by the window's scale factor with
// nearest-neighbour filtering.
class TForm {
public:
    TForm();
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    int32_t ClientWidth() const { return Store.Width(); }
    int32_t ClientHeight() const { return Store.Height(); }
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    // Sets the client size, which the user cannot change; fires OnResize when it changes.
    void SetClientSize(int32_t width, int32_t height);
    // The whole-number zoom of the window: each client pixel shows as a zoom x zoom block and
    // the pointer is read back at that scale; the client size and the backing store keep their
    // size. A shown window keeps its centre and stays in the monitor's work area.
    int32_t Zoom() const { return FZoom; }
    // Sets the zoom (at least 1) without asking whether the window fits the screen.
    virtual void SetZoom(int32_t zoom);
    // Whether the window at that zoom fits the work area of the monitor that shows it (of the
    // primary monitor while it is hidden).
    bool ZoomFits(int32_t zoom) const;
    // Places the window in the middle of the screen whenever it is shown.
    void SetCentred(bool centred);
    // The window's icon from 32-bit pixels 0xAARRGGBB, rows top-down.
    void SetIcon(int32_t width, int32_t height, std::span<const uint32_t> pixels);
    // The window's icon in every size that an icon theme's folder holds as
    // <folder>/<N>x<N>/apps/<name>.png; false, with the icon unchanged, when none loads.
    bool SetIconFromTheme(const std::string& themeFolder, const std::string& name);
    // The widths of the window's icons, smallest first.
    std::vector<int32_t> IconSizes() const;
    // Key events reach the form's handlers before any control. The keys of the focus are the
    // form's own and never reach the handlers: Tab and Shift+Tab while a control is a tab stop,
    // Space and Return while one has the focus.
    bool KeyPreview = false;
    // Colour of the client area where no opaque control covers it.
    TColour Color = MakeColour(240, 240, 240);
    TFont Font;
    TCursor Cursor() const { return FormCursor; }
    void SetCursor(TCursor cursor);

    // Fires OnCreate, once; the derived form calls it when its controls are built.
    void Create();
    void Show();
    void Hide();
    // Asks OnClose; unless it answers None the window hides, and closing the main form ends the
    // message loop.
    void Close();
    bool Visible() const;
    bool Active() const;
    // Raises the window and gives it the input focus.
    void SetFocus();
    // Rings the desktop's error bell for the shown window, unless the user has turned it off.
    void ErrorBell();
    // Hands the window the startup or activation token of a later start of the program: the
    // launcher's startup notification ends, and the desktop grants the focus to the next
    // SetFocus.
    void SetStartupId(const std::string& startupId);
    // Shows the form modally and returns its ModalResult when it closes (Application).
    int ShowModal();
    int ModalResult = 0;

    void Invalidate() { InvalidateRect(ClientRect()); }
    void InvalidateRect(const TRect& r);
    // Paints what is pending into the backing store now and asks the screen to show it.
    void Update();
    // Asks the screen to show r of the backing store at the next frame, without painting.
    void QueueScreenUpdate(const TRect& r);
    const TPixelBuffer& BackingStore() const { return Store; }
    TPixelBuffer& BackingStore() { return Store; }
    // The topmost visible and enabled control under the point, or none.
    TControl* ControlAt(int32_t x, int32_t y) const;

    std::function<void()> OnCreate;
    std::function<void()> OnShow;
    std::function<void(TCloseAction&)> OnClose;
    std::function<void()> OnActivate;
    // The window lost the keyboard focus.
    std::function<void()> OnDeactivate;
    std::function<void(TCanvas&)> OnPaint;
    std::function<void()> OnResize;
    std::function<void(uint16_t& key, TShiftState)> OnKeyDown;
    std::function<void(char& key)> OnKeyPress;
    std::function<void(uint16_t& key, TShiftState)> OnKeyUp;
    std::function<void(TMouseButton, TShiftState, int32_t, int32_t)> OnMouseDown;
    std::function<void(TShiftState, int32_t, int32_t)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int32_t, int32_t)> OnMouseUp;

    // Input in client co-ordinates, as the window system delivers it; tests call these too. Mouse
    // input goes to the control holding the capture, else to the control under the pointer, else
    // to the form's own events.
    void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void MouseMove(TShiftState shift, int32_t x, int32_t y);
    void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void KeyDown(uint16_t key, TShiftState shift);
    void KeyPress(char key);
    void KeyUp(uint16_t key, TShiftState shift);
    void Activate();
    void Deactivate();
    // The window lost the keyboard focus, or a modal window shadows it: the keys and buttons held
    // down count as let go, since their releases go elsewhere. The capture ends with a release
    // outside its control, which clicks nothing, and the late release itself is not passed on.
    void InputLost();
    TControl* MouseCapture() const { return Capture; }

    // The control with the keyboard focus, which shows a ring: none until Tab gives it one, and
    // none again after a mouse click.
    TControl* FocusedControl() const { return FFocused; }
    // Moves the focus to the next tab stop in reading order, or the previous one, round the end.
    void FocusNext(bool backwards);

    // The toolkit window behind the form, for the platform layer's own use.
    struct TWindow;
    TWindow& Window() const { return *FWindow; }
    // The cursor the pointer shows now: the screen's, else the control's under it, else the form's.
    TCursor EffectiveCursor() const;
    void RefreshCursor();

private:
    friend class TControl;
    void AddControl(TControl* control);
    void RemoveControl(TControl* control);
    void PaintArea(const TRect& area);
    void FocusMayHaveGone(TControl* control);
    void MoveFocus(TControl* control);
    void SettleFocus();
    void CancelKeyboardPress();
    bool FocusKeyDown(uint16_t key, TShiftState shift);
    bool FocusKeyUp(uint16_t key);
    void PaintFocusRing(const TRect& area);

    std::string FCaption;
    TPixelBuffer Store {0, 0};
    std::vector<TControl*> FControls;
    TRect Pending {0, 0, 0, 0};
    TControl* Capture = nullptr;
    TControl* FFocused = nullptr;
    // Space or Return held on the focused control; the keys whose press the focus took, whose
    // release is then its own too; and whether the character typed by the last key is its own.
    uint16_t FKeyboardPress = 0;
    std::vector<uint16_t> FKeysTaken;
    char FCharacterTaken = 0;
    // What is held down, as far as this window saw; and the buttons whose release InputLost made.
    std::vector<uint16_t> KeysDown;
    TShiftState ButtonsDown = 0;
    TShiftState ButtonsLost = 0;
    TPoint PointerAt {-1, -1};
    TCursor FormCursor = crDefault;
    int32_t FZoom = 1;
    bool Created = false;
    std::unique_ptr<TWindow> FWindow;
};
