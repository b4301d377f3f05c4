#pragma once

#include "art/ArtImage.h"

#include <vector>

constexpr int32_t ArrowSize = 20;

// The eight arrow strips ("arru_up", "arru_dn", "arrl_up", ...): one 20 x 20 frame per key,
// a red map pin pointing the way with its key on it. Released and pressed frames of a key share
// one silhouette, so that either drawn over the other leaves nothing behind.
std::vector<TArtPicture> DrawArrows(const TArtPicture& tile);
