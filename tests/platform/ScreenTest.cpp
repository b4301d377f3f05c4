#include "platform/Screen.h"
#include "platform/Application.h"

#include <gtest/gtest.h>

// Xlib's macros come after the test framework, whose names they would replace.
#include <X11/XKBlib.h>
#include <gdk/gdkx.h>

namespace {

// The lock state is asked of the display itself, so the test locks Caps Lock there; it runs
// alone on the display, since every window on it would type capitals meanwhile.
TEST(Screen, CapsLockOnFollowsTheDisplaysLockState)
{
    Application().EnsureToolkit();
    GdkDisplay* display = gdk_display_get_default();
    ASSERT_TRUE(GDK_IS_X11_DISPLAY(display));
    Display* x = gdk_x11_display_get_xdisplay(display);
    const auto lock = [x](bool on) {
        XkbLockModifiers(x, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
        XSync(x, False);
    };
    lock(true);
    const bool whileLocked = CapsLockOn();
    lock(false);
    EXPECT_TRUE(whileLocked);
    EXPECT_FALSE(CapsLockOn());
}

} // namespace
