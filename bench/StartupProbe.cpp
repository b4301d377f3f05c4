// startup-probe PROGRAM [ARGUMENTS...]: starts the program and prints the milliseconds from its
// start until its first window shows what it will go on showing, its resident memory in KiB
// then, and the processor time in milliseconds that it used in all, which a busy machine
// disturbs less than the time on the clock. Every change of the window's pixels (from the damage
// the X server reports) is sampled; once the window has been still for a while, the first sample
// equal to the last is the moment it became visible.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;
constexpr auto StillFor = std::chrono::milliseconds(1500);
constexpr auto GiveUpAfter = std::chrono::seconds(20);
constexpr int MinimumSide = 100; // smaller windows are toolkit helpers, not the program's window

struct TSample {
    TClock::time_point Time;
    uint64_t Hash;
};

int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

struct TImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

uint64_t HashWindow(Display* display, Window window, int width, int height)
{
    const std::unique_ptr<XImage, TImageDeleter> image(
        XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap));
    if (!image)
        return 0;
    uint64_t hash = 14695981039346656037ULL;
    const std::size_t size = static_cast<std::size_t>(image->bytes_per_line) * height;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(image->data[i])) * 1099511628211ULL;
    return hash;
}

long ResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: startup-probe PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    const std::unique_ptr<Display, int (*)(Display*)> owner(XOpenDisplay(nullptr), XCloseDisplay);
    Display* display = owner.get();
    int damageEvent = 0;
    int damageError = 0;
    if (display == nullptr || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fputs("startup-probe: no X display with the damage extension\n", stderr);
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const TClock::time_point start = TClock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    Window window = 0;
    XWindowAttributes shape {};
    std::vector<TSample> samples;
    const auto sample = [&] {
        const uint64_t hash = HashWindow(display, window, shape.width, shape.height);
        if (samples.empty() || samples.back().Hash != hash)
            samples.push_back({TClock::now(), hash});
    };
    for (;;) {
        const TClock::time_point now = TClock::now();
        if (now - start > GiveUpAfter || (!samples.empty() && now - samples.back().Time > StillFor))
            break;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && window == 0 && !event.xmap.override_redirect
                && XGetWindowAttributes(display, event.xmap.window, &shape)
                && shape.width >= MinimumSide && shape.height >= MinimumSide) {
                window = event.xmap.window;
                XDamageCreate(display, window, XDamageReportNonEmpty);
                sample();
            } else if (window != 0 && event.type == damageEvent + XDamageNotify) {
                XDamageSubtract(
                    display, reinterpret_cast<XDamageNotifyEvent*>(&event)->damage, None, None);
                sample();
            }
        }
        pollfd connection {ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 50);
    }
    const long resident = ResidentKiB(child);
    kill(child, SIGTERM);
    rusage usage {};
    wait4(child, nullptr, 0, &usage);
    const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    if (samples.empty()) {
        std::fputs("startup-probe: the program showed no window\n", stderr);
        return 1;
    }
    TClock::time_point visible = samples.back().Time;
    for (const TSample& s : samples)
        if (s.Hash == samples.back().Hash) {
            visible = s.Time;
            break;
        }
    std::printf("%.1f %ld %.1f\n",
        std::chrono::duration<double, std::milli>(visible - start).count(), resident, cpuMs);
    return 0;
}
