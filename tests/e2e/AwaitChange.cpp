// await-change WINDOW-ID X Y W H TIMEOUT-MS: reads the window's rectangle, prints "ready", then
// reads it again every few milliseconds until it differs and prints the milliseconds since
// "ready"; exit status 1 when it has not changed within the timeout. A screenshot tool takes
// longer than the waits this measures.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace {

std::vector<unsigned long> Pixels(Display* display, Window window, int x, int y, int w, int h)
{
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(w),
        static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (image == nullptr)
        return pixels;
    // XDestroyImage is a macro.
    const auto destroy = [](XImage* owned) { XDestroyImage(owned); };
    const std::unique_ptr<XImage, decltype(destroy)> owned(image, destroy);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            pixels.push_back(XGetPixel(image, col, row));
    return pixels;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fputs("usage: await-change WINDOW-ID X Y W H TIMEOUT-MS\n", stderr);
        return 2;
    }
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) {
        std::fputs("await-change: no display\n", stderr);
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    const int w = std::atoi(argv[4]);
    const int h = std::atoi(argv[5]);
    const auto timeout = std::chrono::milliseconds(std::atoi(argv[6]));
    const std::vector<unsigned long> before = Pixels(display.get(), window, x, y, w, h);
    if (before.empty())
        return 2;
    std::puts("ready");
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < timeout) {
        if (Pixels(display.get(), window, x, y, w, h) != before) {
            std::printf("%lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start)
                                           .count()));
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 1;
}
