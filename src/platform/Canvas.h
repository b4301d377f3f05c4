#pragma once

#include "common/KelRect.h"
#include "raster/DeviceContext.h"
#include "raster/DrawingTools.h"

#include <string_view>

// Drawing with a current brush and font on a device context that the canvas does not own. The
// device context fills and copies pixels; the canvas adds text, which needs the toolkit's fonts.
class TCanvas {
public:
    explicit TCanvas(TDeviceContext& dc)
        : DC(dc)
    {
    }

    TDeviceContext& Handle() const { return DC; }
    // The part being drawn, in the canvas's co-ordinates.
    TRect ClipRect() const { return DC.ClipBox(); }

    void FillRect(const TRect& r) { DC.FillRect(r, Brush); }
    // A one-pixel frame just inside r in the brush's colour.
    void FrameRect(const TRect& r);
    // Writes text with its top-left at (x, y); a solid brush first fills the text's box.
    void TextOut(int32_t x, int32_t y, std::string_view text);
    // Writes text into r, aligned and wrapped as asked, without a background.
    void TextRect(const TRect& r, std::string_view text, TTextFormat format);
    TTextSize TextExtent(std::string_view text) const;

    TBrush Brush;
    TFont Font;

private:
    TDeviceContext& DC;
};
