#include "platform/EndSignals.h"

#include "common/KelFileHandle.h"
#include "platform/MessageBox.h"

#include <glib-unix.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> Signals {SIGTERM, SIGHUP, SIGINT};

// The pipe's end that the signal handler writes to; -1 while no object takes the signals.
std::atomic<int> WakeFd {-1};

// Only what is safe in a signal handler: one byte into the pipe, errno as it was.
void OnSignal(int)
{
    const int saved = errno;
    const int fd = WakeFd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

} // namespace

// A pipe read by a watch on the loop, rather than GLib's own signal sources: those start a thread
// of their own at the first signal source, which every start would pay for.
struct TEndSignals::TSources {
    std::function<void()> Handler;
    std::optional<TFileHandle> Read;
    std::optional<TFileHandle> Write;
    guint Watch = 0;

    static gboolean OnReadable(gint fd, GIOCondition, gpointer data)
    {
        std::array<char, 64> bytes {};
        while (::read(fd, bytes.data(), bytes.size()) > 0) { }
        RunGuarded(static_cast<TSources*>(data)->Handler);
        return G_SOURCE_CONTINUE;
    }
};

TEndSignals::TEndSignals(std::function<void()> handler)
    : FSources(std::make_unique<TSources>())
{
    FSources->Handler = std::move(handler);
    std::array<int, 2> ends {};
    if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    FSources->Read.emplace(ends[0]);
    FSources->Write.emplace(ends[1]);
    FSources->Watch
        = g_unix_fd_add(FSources->Read->Get(), G_IO_IN, &TSources::OnReadable, FSources.get());
    WakeFd.store(FSources->Write->Get());
    struct sigaction action { };
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : Signals)
        ::sigaction(signal, &action, nullptr);
}

TEndSignals::~TEndSignals()
{
    for (const int signal : Signals)
        std::signal(signal, SIG_DFL);
    WakeFd.store(-1);
    if (FSources->Watch != 0)
        g_source_remove(FSources->Watch);
}
