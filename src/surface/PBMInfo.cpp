#include "surface/PBMInfo.h"

namespace {

TBitmapInfo SharedHeader;
bool Initialised = false;

} // namespace

TBitmapInfo* SharedPBMInfo()
{
    return Initialised ? &SharedHeader : nullptr;
}

void InitPBMInfo()
{
    SharedHeader = TBitmapInfo {};
    SharedHeader.Header.Size = sizeof(TBitmapInfoHeader);
    SharedHeader.Header.Planes = 1;
    SharedHeader.Header.BitCount = 8;
    for (uint16_t i = 0; i < 256; ++i)
        SharedHeader.Colors[i] = i;
    Initialised = true;
}
