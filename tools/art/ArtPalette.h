#pragma once

#include "art/ArtImage.h"

#include <array>
#include <cstdint>
#include <vector>

// One entry of the shared palette, 8 bits a channel.
struct TPaletteColour {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    friend bool operator==(const TPaletteColour&, const TPaletteColour&) = default;
};

using TArtPalette = std::array<TPaletteColour, 256>;

// A picture mapped onto the palette; transparent pixels hold the transparent key.
struct TIndexedPicture {
    std::string Name;
    int32_t Width = 0;
    int32_t Height = 0;
    bool Transparent = false;
    std::vector<uint8_t> Pixels;
    uint8_t At(int32_t x, int32_t y) const
    {
        return Pixels[static_cast<std::size_t>(y * Width + x)];
    }
};

// The one palette for all pictures: the reserved slots (black, white, the grid and edge lines,
// the transparent key) and, in the other slots, colours found by a weighted median cut refined
// by k-means over every picture's pixels. Deterministic: the same pictures give the same palette.
TArtPalette BuildPalette(const std::vector<TArtPicture>& pictures);

// Maps every pixel to its nearest palette colour (never the transparent key), without
// dithering, so flat areas stay flat.
TIndexedPicture MapToPalette(const TArtPicture& picture, const TArtPalette& palette);
