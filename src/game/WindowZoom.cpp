#include "game/WindowZoom.h"

#include "game/KeyTable.h"

#include "platform/Accessibility.h"

#include <string>

int32_t ZoomAfter(int32_t step, int32_t zoom)
{
    return step == 0 ? 1 : zoom + step;
}

std::optional<int32_t> ZoomForKey(uint16_t key, TShiftState shift, int32_t zoom)
{
    const std::optional<TCommand> command = CommandForKey(key, shift);
    if (!command || command->Kind != TCommandKind::Zoom)
        return std::nullopt;
    return ZoomAfter(command->Value, zoom);
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
