#include "platform/Timer.h"

#include "platform/MessageBox.h"

#include <glib.h>

namespace {

gboolean TimerDue(gpointer data)
{
    auto* timer = static_cast<TTimer*>(data);
    RunGuarded([timer] { timer->Tick(); });
    return G_SOURCE_CONTINUE;
}

} // namespace

TTimer::~TTimer()
{
    Stop();
}

void TTimer::SetInterval(uint32_t milliseconds)
{
    FInterval = milliseconds;
    Restart();
}

void TTimer::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    Restart();
}

void TTimer::SetOnTimer(std::function<void()> handler)
{
    OnTimer = std::move(handler);
    Restart();
}

void TTimer::Tick()
{
    if (InTick || !OnTimer)
        return;
    InTick = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset {InTick};
    OnTimer();
}

void TTimer::Restart()
{
    Stop();
    if (FEnabled && FInterval > 0 && OnTimer)
        Source = g_timeout_add(FInterval, TimerDue, this);
}

void TTimer::Stop()
{
    if (Source != 0)
        g_source_remove(Source);
    Source = 0;
}
