#pragma once

#include <cstdint>

// Cursor numbers: the shapes of the desktop's cursor theme are negative, the ones a program
// loads into the screen's cursor table are positive.
using TCursor = int32_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;

// The program's embedded cursor pictures: two 32 x 32 monochrome hands.
constexpr int HandPointCursorResource = 3000;
constexpr int HandOpenCursorResource = 3001;
