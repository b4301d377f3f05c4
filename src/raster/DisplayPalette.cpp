#include "raster/DisplayPalette.h"

namespace {

TDisplayPalette MakeGreyRamp()
{
    TDisplayPalette palette;
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<uint8_t>(i);
        palette.Entries[i] = {level, level, level, 0};
    }
    return palette;
}

} // namespace

const TDisplayPalette& TDisplayPalette::Default()
{
    static const TDisplayPalette greyRamp = MakeGreyRamp();
    return greyRamp;
}
