#include "controls/KelButton.h"

#include "common/KelStd.h"
#include "platform/Form.h"
#include "vx8/VX8Library.h"

#include <utility>

TKelButton::TKelButton(TForm& parent)
    : TLibraryControl(parent, ClassLibrary)
{
    SetBounds(0, 0, 75, 25);
    SetCaptureMouse(true);
    SetOpaque(true);
    TControl::SetEnabled(false);
}

TKelButton::~TKelButton()
{
    ReleaseImages();
}

void TKelButton::ForgetImagesOfLostLibrary()
{
    if (FLibrary.Get() == nullptr) {
        FStripNode = nullptr;
        FStripSurface = nullptr;
        FFaceNode = nullptr;
        FFaceSurface = nullptr;
    }
}

TVX8ImageData* TKelButton::EnsureImage()
{
    if (FFaceSurface == nullptr)
        ApplyImageName(FImageName);
    return FFaceSurface;
}

void TKelButton::ApplyImageName(std::string_view name)
{
    ReleaseImages();
    FImageName = ShortName(name);
    if (FLibrary.Get() == nullptr || !FLibrary.Get()->ImageExists(FImageName))
        return;
    FStripNode = FLibrary.Get()->OpenImage(FImageName);
    try {
        FStripSurface = FLibrary.Get()->GetImageData(FStripNode);
        const int32_t faceHeight
            = FStripSurface != nullptr ? FStripSurface->Height / FFrameCount : 0;
        // Without a surface, or with faces of no size, there is nothing to show: the button
        // stays unloaded and shows its placeholder.
        if (FStripSurface == nullptr || FStripSurface->Width == 0 || faceHeight == 0) {
            ReleaseImages();
            return;
        }
        SetBounds(Left(), Top(), FStripSurface->Width, faceHeight);
        FFaceNode = FLibrary.Get()->CreateImage(
            FImageName, static_cast<uint16_t>(Width()), static_cast<uint16_t>(Height()));
        FFaceSurface = FLibrary.Get()->GetImageData(FFaceNode);
        if (FFaceSurface == nullptr) {
            ReleaseImages();
            return;
        }
        Recompose();
    } catch (...) {
        ReleaseImages();
        throw;
    }
}

void TKelButton::ReleaseImages()
{
    ForgetImagesOfLostLibrary();
    if (FLibrary.Get() == nullptr || FStripNode == nullptr)
        return;
    if (FFaceNode != nullptr) {
        FLibrary.Get()->ReleaseImage(FFaceNode);
        FFaceSurface = nullptr;
        FFaceNode = nullptr;
    }
    FLibrary.Get()->ReleaseImage(FStripNode);
    FStripSurface = nullptr;
    FStripNode = nullptr;
}

int TKelButton::FrameIndex() const
{
    if (FFrameCount >= 3 && !FEnabled)
        return 2;
    if (FFrameCount >= 2 && FEnabled && ((Toggles && FChecked) || (!Toggles && FPressed && FHot)))
        return 1;
    return 0;
}

void TKelButton::Recompose()
{
    if (EnsureLibrary() == nullptr || EnsureImage() == nullptr || FStripSurface == nullptr)
        return;
    FFaceSurface->FillRect(FFaceSurface->Bounds(), FBGPen);
    const int32_t k = FrameIndex();
    const int32_t w = Width();
    const int32_t h = Height();
    FFaceSurface->Draw({0, 0}, *FStripSurface, {0, k * h, w, (k + 1) * h});
    if (OnDecorate)
        OnDecorate(*this);
    Invalidate();
}

void TKelButton::Paint(TCanvas& canvas)
{
    if (EnsureLibrary() != nullptr && EnsureImage() != nullptr) {
        TDeviceContext& dc = canvas.Handle();
        const TDisplayPalette* previous = dc.SelectPalette(FLibrary.Get()->GetHPal(), false);
        try {
            FFaceSurface->Display(dc, {0, 0}, {0, 0, Width(), Height()});
        } catch (...) {
            dc.SelectPalette(previous, false);
            throw;
        }
        dc.SelectPalette(previous, false);
        return;
    }
    canvas.Brush = {MakeColour(255, 0, 255), TBrushStyle::Solid};
    canvas.FillRect(ClientRect());
    canvas.Font.Colour = MakeColour(255, 255, 255);
    canvas.TextOut(2, 2, Name);
}

void TKelButton::ApplyEnabled(bool enabled)
{
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    Recompose();
    TControl::SetEnabled(enabled);
}

void TKelButton::ApplyChecked(bool checked)
{
    if (checked == FChecked)
        return;
    FChecked = checked;
    Recompose();
}

void TKelButton::ApplyFrameCount(uint8_t count)
{
    if (count == 0 || count > 3 || count == FFrameCount)
        return;
    FFrameCount = count;
    Recompose();
}

void TKelButton::ApplyBGPen(uint8_t pen)
{
    FBGPen = pen;
    Recompose();
}

void TKelButton::MouseDown(TMouseButton button, TShiftState, int32_t x, int32_t y)
{
    if (!FEnabled || button != TMouseButton::Left)
        return;
    if (Toggles) {
        ApplyChecked(!FChecked);
        if (OnClick)
            OnClick(*this);
        return;
    }
    FPressed = true;
    FHot = Inside(x, y);
    Recompose();
}

void TKelButton::MouseMove(TShiftState, int32_t x, int32_t y)
{
    if (!FEnabled || !FPressed || Toggles)
        return;
    if (Inside(x, y) != FHot) {
        FHot = Inside(x, y);
        Recompose();
    }
}

void TKelButton::MouseUp(TMouseButton button, TShiftState, int32_t x, int32_t y)
{
    // A release that ends a press begun elsewhere reaches the button without capture: no click.
    if (!FEnabled || button != TMouseButton::Left || Toggles || !FPressed)
        return;
    FPressed = false;
    Recompose();
    if (Inside(x, y) && OnClick)
        OnClick(*this);
}

void TKelButton::KeyboardPress()
{
    if (!FEnabled || Toggles || FPressed)
        return;
    FPressed = true;
    FHot = true;
    Recompose();
}

void TKelButton::KeyboardRelease(bool click)
{
    if (Toggles) {
        if (click)
            DoAccessibleAction();
        return;
    }
    if (!std::exchange(FPressed, false))
        return;
    Recompose();
    if (click && FEnabled && OnClick)
        OnClick(*this);
}

TAccessibleState TKelButton::AccessibleState() const
{
    TAccessibleState state = TControl::AccessibleState();
    state.Enabled = FEnabled;
    state.Pressed = FPressed && FHot;
    state.Checked = Toggles && FChecked;
    return state;
}

bool TKelButton::DoAccessibleAction()
{
    if (!FEnabled || !Visible())
        return false;
    if (Toggles)
        ApplyChecked(!FChecked);
    if (OnClick)
        OnClick(*this);
    return true;
}
