#include "platform/EndSignals.h"

#include "platform/MessageBox.h"

#include <glib-unix.h>

#include <array>
#include <csignal>
#include <utility>

struct TEndSignals::TSources {
    std::function<void()> Handler;
    std::array<guint, 3> Ids {};
};

namespace {

gboolean OnEndSignal(gpointer data)
{
    const auto& handler = *static_cast<const std::function<void()>*>(data);
    RunGuarded(handler);
    return G_SOURCE_CONTINUE;
}

} // namespace

TEndSignals::TEndSignals(std::function<void()> handler)
    : FSources(std::make_unique<TSources>())
{
    FSources->Handler = std::move(handler);
    const std::array<int, 3> signals {SIGTERM, SIGHUP, SIGINT};
    for (std::size_t i = 0; i < signals.size(); ++i)
        FSources->Ids[i] = g_unix_signal_add(signals[i], OnEndSignal, &FSources->Handler);
}

// GLib leaves the signal's handler installed when its source goes; the default one ends the
// process as before.
TEndSignals::~TEndSignals()
{
    for (const guint id : FSources->Ids)
        if (id != 0)
            g_source_remove(id);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signal, SIG_DFL);
}
