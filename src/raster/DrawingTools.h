#pragma once

#include "raster/DisplayPalette.h"

#include <cstdint>
#include <string>

enum class TBrushStyle : uint8_t {
    Solid,
    Clear,
    // Diagonal lines both ways, 8 pixels apart; the pixels between the lines keep their colour.
    DiagCross,
};

struct TBrush {
    TColour Colour = MakeColour(255, 255, 255);
    TBrushStyle Style = TBrushStyle::Solid;
};

// A text face; Height is the character height in pixels. "Arial" and "Times New Roman" resolve
// through fontconfig's metric aliases.
struct TFont {
    std::string Name = "Sans";
    int32_t Height = 13;
    TColour Colour = 0;
    bool Bold = false;
    bool Underline = false;
};

enum class TTextAlign : uint8_t { Left, Centre, Right };

struct TTextFormat {
    TTextAlign Align = TTextAlign::Left;
    bool WordWrap = false;
};

struct TTextSize {
    int32_t Width = 0;
    int32_t Height = 0;
};
