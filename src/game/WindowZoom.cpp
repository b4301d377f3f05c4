#include "game/WindowZoom.h"

#include "game/KeyTable.h"

#include <algorithm>

int32_t ZoomAfter(int32_t step, int32_t zoom)
{
    return step == 0 ? 1 : std::clamp(zoom + step, 1, MaxZoom);
}

int32_t ZoomForKey(uint16_t key, TShiftState shift, int32_t zoom)
{
    const std::optional<TCommand> command = CommandForKey(key, shift);
    if (!command || command->Kind != TCommandKind::Zoom)
        return 0;
    return ZoomAfter(command->Value, zoom);
}

bool ApplyZoom(TForm& form, int32_t zoom)
{
    if (zoom < 1 || zoom > MaxZoom || (zoom > 1 && !form.ZoomFits(zoom)))
        return false;
    form.SetZoom(zoom);
    return true;
}
