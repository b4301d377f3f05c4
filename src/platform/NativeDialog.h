#pragma once

#include "platform/Form.h"
#include "platform/NativeControls.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A dialog window whose client area holds the toolkit's own widgets at exact positions instead
// of windowless controls: labels, push buttons, a check box, panels, shapes and pictures. Its
// border is fixed with only the close box; the keyboard moves the focus in the given tab order,
// Enter presses the default button and Escape calls OnCancel. Pointer movement and clicks go to
// the topmost enabled control under the pointer, else to the form's OnMouseMove and OnMouseDown.
class TNativeDialog : public TForm, public TNativeHost {
public:
    TNativeDialog();
    ~TNativeDialog() override;

    // The fixed size of the client area.
    void SetClientSize(int32_t width, int32_t height);
    // Shows the client area, laid out at its own size, with each pixel a zoom x zoom block.
    void SetZoom(int32_t zoom) override;
    TNativeWidget& Container() const override;
    // The order in which Tab moves the focus; a panel in it passes the focus to its children.
    void SetTabOrder(const std::vector<TNativeControl*>& order);
    TNativeControl* FocusedControl() const;

    // Pointer input in client co-ordinates, as the window system delivers it; tests call these.
    void PointerMove(int32_t x, int32_t y);
    void PointerDown(int32_t x, int32_t y);
    void PointerUp(int32_t x, int32_t y);
    // Delivers a key press and release (Input.h key codes) to the window as the keyboard does;
    // nothing on a display without a keyboard.
    void DeliverKey(uint16_t key);
    // Shows the cursor the pointer should have now: the screen's, else the control's under it.
    void ApplyCursor();

    // What Escape does; nothing when unset.
    std::function<void()> OnCancel;

    // The colour the theme gives the client area, and a light face for texts of fixed dark
    // colours that would not stand out on it: the client area, the buttons and the check box
    // then take light colours and black text.
    TColour ThemeFaceColour() const;
    bool LightFace() const;
    void SetLightFace(bool on);

private:
    struct TDialogParts;
    std::unique_ptr<TDialogParts> Parts;
    TNativeControl* PressedOn = nullptr;
    TPoint PointerAt {-1, -1};
};
