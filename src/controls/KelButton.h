#pragma once

#include "controls/LibraryControl.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TVX8Library;
class TVX8ImageData;
class TImageNode;

// A push button whose faces come from a library image, the frame strip: up to three faces of
// equal size stacked top to bottom (up, down, disabled). The face of the current state is
// composed on a work image of the button's size and copied to the screen when painted. In toggle
// mode a press flips Checked and the down face shows while it is set. Without a library or image
// the button shows magenta with its name.
class TKelButton final : public TLibraryControl {
public:
    explicit TKelButton(TForm& parent);
    ~TKelButton() override;

    // The library of every button that has none of its own yet; cleared when it is destroyed.
    static void SetGlobalImageLibrary(TVX8Library* library) { ClassLibrary.Set(library); }
    static TVX8Library* GlobalImageLibrary() { return ClassLibrary.Get(); }

    void ApplyImageName(std::string_view name) override;

    std::function<void(TKelButton& sender)> OnClick;
    // Called after every recomposition of the face, before the repaint request, to draw over it.
    std::function<void(TKelButton& sender)> OnDecorate;

    int32_t Version = 1;
    bool Toggles = false;
    bool Checked() const { return FChecked; }
    void ApplyChecked(bool checked);
    // The button's own enabled state, which the base control's follows.
    bool Enabled() const { return FEnabled; }
    void ApplyEnabled(bool enabled);
    uint8_t BGPen() const { return FBGPen; }
    void ApplyBGPen(uint8_t pen);
    uint8_t FrameCount() const { return FFrameCount; }
    // Ignores 0, values above 3 and the current count.
    void ApplyFrameCount(uint8_t count);
    bool Pressed() const { return FPressed; }
    bool Hot() const { return FHot; }

    TVX8ImageData* EnsureImage();
    void ReleaseImages() override;
    // 0 up, 1 down, 2 disabled.
    int FrameIndex() const;
    void Recompose();

    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
    void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

    TImageNode* StripNode() const { return FStripNode; }
    TVX8ImageData* StripSurface() const { return FStripSurface; }
    TImageNode* FaceNode() const { return FFaceNode; }
    TVX8ImageData* FaceSurface() const { return FFaceSurface; }

    TAccessibleState AccessibleState() const override;
    bool DoAccessibleAction() override;

private:
    bool Inside(int32_t x, int32_t y) const
    {
        return x >= 0 && y >= 0 && x < Width() && y < Height();
    }
    void ForgetImagesOfLostLibrary() override;

    inline static TLibraryLink ClassLibrary;
    bool FChecked = false;
    bool FEnabled = false;
    uint8_t FBGPen = 0;
    uint8_t FFrameCount = 3;
    bool FPressed = false;
    bool FHot = false;
    TImageNode* FStripNode = nullptr;
    TVX8ImageData* FStripSurface = nullptr;
    TImageNode* FFaceNode = nullptr;
    TVX8ImageData* FFaceSurface = nullptr;
};
