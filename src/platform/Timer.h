#pragma once

#include <cstdint>
#include <functional>

// A timer whose ticks arrive through the message loop, every Interval milliseconds while it is
// enabled and has a handler. A tick that comes while the handler still runs (a message box
// shown from it) is dropped.
class TTimer {
public:
    TTimer() = default;
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    uint32_t Interval() const { return FInterval; }
    // Restarts the count when the timer runs.
    void SetInterval(uint32_t milliseconds);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    void SetOnTimer(std::function<void()> handler);
    intptr_t Tag = 0;

    // What a due tick does; tests call it instead of waiting.
    void Tick();

private:
    void Restart();
    void Stop();

    uint32_t FInterval = 1000;
    bool FEnabled = true;
    bool InTick = false;
    std::function<void()> OnTimer;
    unsigned int Source = 0;
};
