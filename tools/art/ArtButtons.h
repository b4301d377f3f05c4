#pragma once

#include "art/ArtImage.h"

#include <vector>

constexpr int32_t ButtonFaceHeight = 28;
constexpr int32_t ButtonFaces = 3;

// The button strips "start", "exit" (156 x 84), "min_btn" and "plus_btn" (40 x 84): parchment
// plaques with three faces stacked, up, pressed and disabled. Opaque: the table shows in the
// rounded corners as it lies around the buttons.
std::vector<TArtPicture> DrawButtons(const TArtPicture& tile);
