#pragma once

#include "PngFile.h"

#include <array>
#include <cstdint>
#include <vector>

// The colours that pictures are mapped onto, and the index that stands for a transparent pixel
// (-1 when there is none).
struct TTargetPalette {
    std::vector<TRgb> Colours;
    int TransparentIndex = -1;
};

// Maps 16-bit RGBA pixels onto the palette: each pixel whose alpha is at least one half takes the
// palette colour nearest to it in CIE Lab (never the transparent index), every other pixel the
// transparent index, which must then exist. With dither, the difference between a pixel and its
// colour is spread onto the pixels right and below (Floyd and Steinberg's weights) before they
// are matched. Returns one index a pixel; transparent is set when any pixel took the key.
std::vector<uint8_t> MapToPalette(const std::vector<uint16_t>& rgba, uint32_t width,
    const TTargetPalette& palette, bool dither, bool& transparent);

// Whether a pixel with this 16-bit alpha counts as transparent.
constexpr bool IsClearAlpha(uint16_t alpha)
{
    return alpha < 0x8000;
}
