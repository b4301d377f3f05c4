#pragma once

// Included only by the platform layer's own sources.

#include <gdk/gdk.h>

#include <optional>

// Whether Caps Lock is locked on, asked of an X display in one request, where the toolkit's keymap
// first fetches the whole keyboard description in several round trips. Nothing for a display of
// another kind or when the display cannot say.
std::optional<bool> X11CapsLockOn(GdkDisplay* display);
