#include "platform/X11State.h"

// Xlib's macros stay in this file.
#ifdef GDK_WINDOWING_X11
#include <X11/XKBlib.h>
#include <gdk/gdkx.h>
#endif

std::optional<bool> X11CapsLockOn([[maybe_unused]] GdkDisplay* display)
{
#ifdef GDK_WINDOWING_X11
    XkbStateRec state {};
    if (display != nullptr && GDK_IS_X11_DISPLAY(display)
        && XkbGetState(gdk_x11_display_get_xdisplay(display), XkbUseCoreKbd, &state) == Success)
        return (state.locked_mods & LockMask) != 0;
#endif
    return std::nullopt;
}
