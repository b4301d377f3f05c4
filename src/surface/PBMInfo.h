#pragma once

#include "raster/DeviceContext.h"

// The one display header of the program: 8 bits per pixel, rows bottom-up, colour table entry i
// holding palette index i. Null until InitPBMInfo has run at start-up; Display and the image
// library fill in width, height and image size before each transfer.
TBitmapInfo* SharedPBMInfo();
void InitPBMInfo();
