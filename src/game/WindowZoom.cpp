#include "game/WindowZoom.h"

#include <algorithm>

int32_t ZoomForKey(uint16_t key, TShiftState shift, int32_t zoom)
{
    // Shift may be held: on many layouts plus is the shifted equal key.
    if ((shift & ssModifiers & ~ssShift) != ssCtrl)
        return 0;
    switch (key) {
    case VK_OEM_PLUS:
    case VK_ADD:
        return std::min(zoom + 1, MaxZoom);
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
        return std::max(zoom - 1, 1);
    case '0':
        return 1;
    default:
        return 0;
    }
}

bool ApplyZoom(TForm& form, int32_t zoom)
{
    if (zoom < 1 || zoom > MaxZoom || (zoom > 1 && !form.ZoomFits(zoom)))
        return false;
    form.SetZoom(zoom);
    return true;
}
