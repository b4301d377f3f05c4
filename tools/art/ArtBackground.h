#pragma once

#include "art/ArtImage.h"

#include <cstdint>

constexpr int32_t TileSize = 128;
constexpr int32_t CellSize = 32;

// "tile": the window background, a walnut table top that repeats without seams.
TArtPicture DrawTableTile();
// "empty": a meadow cell, seamless with itself so a board of cells reads as one field.
TArtPicture DrawEmptyCell();
