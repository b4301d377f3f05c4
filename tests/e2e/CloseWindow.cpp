// close-window WINDOW-ID: asks an X11 window to close as a window manager's close box does, with
// the WM_DELETE_WINDOW message of the window's WM_PROTOCOLS.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: close-window WINDOW-ID\n", stderr);
        return 2;
    }
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) {
        std::fputs("close-window: no display\n", stderr);
        return 1;
    }
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::strtoul(argv[1], nullptr, 0);
    event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0]
        = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    if (XSendEvent(display.get(), event.xclient.window, False, NoEventMask, &event) == 0)
        return 1;
    XSync(display.get(), False);
    return 0;
}
