#pragma once

#include "platform/Control.h"
#include "raster/DrawingTools.h"

#include <string>

// A line or paragraph of text. A transparent label draws only its letters; an opaque one fills
// its area with Color first. Changes of Font, Color, Transparent or Format show after Invalidate.
class TLabel : public TControl {
public:
    explicit TLabel(TForm& parent);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    TFont Font;
    TColour Color = MakeColour(240, 240, 240);
    bool Transparent = false;
    TTextFormat Format;

    void Paint(TCanvas& canvas) override;

private:
    std::string FCaption;
};
