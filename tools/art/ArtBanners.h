#pragma once

#include "art/ArtImage.h"

#include <vector>

// Where the game shows the pictures drawn over the table: their edges are blended against the
// table exactly as it lies there.
constexpr int32_t TitleX = 71;
constexpr int32_t TitleY = 9;
constexpr int32_t CaptionX = 87;
constexpr int32_t CaptionY = 329;
constexpr int32_t MessageX = 273 + 1;
constexpr int32_t MessageY = 104 + 1;
constexpr int32_t MessageSize = 206;

// "warden": the name of the game over a winding road, at most 375 x 92.
TArtPicture DrawTitle(const TArtPicture& tile);
// "colrow": "Columns" and "Rows" beside the two rows of size buttons, 112 x 58.
TArtPicture DrawSizeCaptions(const TArtPicture& tile);
// "welldone" and "clicksr": the cards on the idle preview board, 206 x 206.
TArtPicture DrawWellDone(const TArtPicture& tile);
TArtPicture DrawClickStart(const TArtPicture& tile);

std::vector<TArtPicture> DrawBanners(const TArtPicture& tile);
