#include "game/WindowZoom.h"

#include "platform/Accessibility.h"

#include <string>

std::optional<int32_t> ZoomForKey(uint16_t key, TShiftState shift, int32_t zoom)
{
    // Shift may be held: on many layouts plus is the shifted equal key.
    if ((shift & ssModifiers & ~ssShift) != ssCtrl)
        return std::nullopt;
    switch (key) {
    case VK_OEM_PLUS:
    case VK_ADD:
        return zoom + 1;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
        return zoom - 1;
    case '0':
        return 1;
    default:
        return std::nullopt;
    }
}

bool ApplyZoom(TForm& form, int32_t zoom)
{
    if (zoom < 1 || zoom > MaxZoom || (zoom > 1 && !form.ZoomFits(zoom)))
        return false;
    form.SetZoom(zoom);
    return true;
}

bool StepZoom(TForm& form, int32_t zoom)
{
    if (ApplyZoom(form, zoom))
        return true;
    form.ErrorBell();
    if (zoom < 1)
        AnnounceOnForm(form, "Already at the smallest zoom, 1x");
    else if (zoom > MaxZoom)
        AnnounceOnForm(form, "Already at the largest zoom, " + std::to_string(MaxZoom) + "x");
    else
        AnnounceOnForm(form, "Zoom " + std::to_string(zoom) + "x would not fit the screen");
    return false;
}
