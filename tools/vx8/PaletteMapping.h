#pragma once

#include "PngFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The colours that pictures are mapped onto, and the index that stands for a transparent pixel
// (-1 when there is none).
struct TTargetPalette {
    std::vector<TRgb> Colours;
    int TransparentIndex = -1;
};

// A picture mapped onto a palette: one index a pixel, whether any pixel took the transparent
// index, and how far the opaque pixels moved, as CIE76 colour differences (Delta E in Lab).
// A dithered picture is judged as the eye sees it, by the mean colours of 3 x 3 neighbourhoods.
struct TPaletteMapping {
    std::vector<uint8_t> Indices;
    bool Transparent = false;
    double MeanDeltaE = 0;
    double MaxDeltaE = 0;
};

// Maps 16-bit RGBA pixels onto the palette: each pixel whose alpha is at least one half takes the
// palette colour nearest to it in CIE Lab (never the transparent index), every other pixel the
// transparent index, which must then exist. With dither, the difference between a pixel and its
// colour is spread onto the pixels right and below (Floyd and Steinberg's weights) before they
// are matched; the difference a pixel carries is clamped, so that colours the palette cannot
// reach do not pile up into noise.
TPaletteMapping MapToPalette(
    const std::vector<uint16_t>& rgba, uint32_t width, const TTargetPalette& palette, bool dither);

// A mean Delta E beyond this is a change of colour that the eye does not accept.
constexpr double NoticeableDeltaE = 10.0;

// Whether a pixel with this 16-bit alpha counts as transparent.
constexpr bool IsClearAlpha(uint16_t alpha)
{
    return alpha < 0x8000;
}

// The transparent index that an indexed picture's tRNS alphas give, if any: only fully
// transparent entries can be stored, and an image can show only one of them. Raises
// KelException naming the file for a partly transparent entry in use or two clear ones in use.
std::optional<uint8_t> TransparentIndexOf(const TIndexedPicture& picture, const std::string& path);
