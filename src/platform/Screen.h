#pragma once

#include "platform/Cursors.h"

#include <cstdint>
#include <optional>

// The screen-wide cursor, which overrides every window's while it is not crDefault.
TCursor ScreenCursor();
void SetScreenCursor(TCursor cursor);

// Loads one of the program's embedded cursor pictures into slot index of the screen's cursor
// table; false when the picture is unknown or no display is open. The toolkit makes the cursor
// when it is first shown.
bool LoadCursorResource(TCursor index, int resourceId);

// Shows the hourglass screen-wide for its lifetime, then the cursor that was there before.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TCursor Previous;
};

// Whether Caps Lock is on.
bool CapsLockOn();
// Makes CapsLockOn report the given state instead of the keyboard's; nullopt reads the keyboard
// again. For tests, which cannot toggle the lock of a shared display without disturbing others.
void OverrideCapsLock(std::optional<bool> on);
// The display's colour depth, as bits per pixel and colour planes.
int32_t DisplayBitsPerPixel();
int32_t DisplayPlanes();
