#pragma once

#include "platform/Cursors.h"

#include <array>

// A 32 x 32 monochrome cursor picture, one text row per pixel row, and its hot spot.
struct THandCursorPicture {
    int HotX;
    int HotY;
    std::array<const char*, 32> Rows;
};

// The embedded picture of a cursor resource, or none for an unknown number.
const THandCursorPicture* FindCursorPicture(int resourceId);
