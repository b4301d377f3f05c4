#pragma once

#include "art/ArtImage.h"

#include <cstdint>

// Palette slots with a fixed meaning in the game.
constexpr int32_t BlackSlot = 0;
constexpr int32_t WhiteSlot = 255;
constexpr int32_t EdgeLineSlot = 118;
constexpr int32_t GridLineSlot = 242;
// The transparent key of every transparent picture; no drawn pixel uses it.
constexpr int32_t TransparentKeySlot = 1;

// The colours the pictures share, so that they look like one set.
namespace Paint {
inline const TArtColour Black = Rgb(0, 0, 0);
inline const TArtColour White = Rgb(255, 255, 255);
inline const TArtColour Key = Rgb(255, 0, 255);
inline const TArtColour GridLine = Rgb(48, 44, 22);
inline const TArtColour EdgeLine = Rgb(40, 26, 14);

inline const TArtColour WoodDark = Rgb(96, 58, 30);
inline const TArtColour WoodMid = Rgb(128, 82, 44);
inline const TArtColour WoodLight = Rgb(156, 106, 60);

inline const TArtColour GrassDark = Rgb(96, 136, 54);
inline const TArtColour GrassMid = Rgb(118, 158, 66);
inline const TArtColour GrassLight = Rgb(140, 176, 78);
inline const TArtColour GrassTuft = Rgb(78, 116, 44);

inline const TArtColour Road = Rgb(224, 198, 148);
inline const TArtColour RoadRim = Rgb(170, 132, 86);
inline const TArtColour RoadHighlight = Rgb(250, 238, 204);
inline const TArtColour RoadShadow = Rgb(52, 72, 30);

inline const TArtColour Ink = Rgb(62, 38, 20);
inline const TArtColour Cream = Rgb(250, 238, 208);
inline const TArtColour Gold = Rgb(232, 180, 78);
inline const TArtColour BarnRed = Rgb(176, 56, 38);
} // namespace Paint
