#include "play/GameClock.h"

#include <algorithm>

void TGameClock::Run(int64_t now, int64_t played)
{
    FRunning = true;
    FPlayed = std::max<int64_t>(played, 0);
    FSince = now;
}

void TGameClock::Halt(int64_t now)
{
    FPlayed = Played(now);
    FRunning = false;
}

void TGameClock::Reset()
{
    FRunning = false;
    FPlayed = 0;
}

void TGameClock::SetFocused(bool focused, int64_t now)
{
    if (focused == FFocused)
        return;
    FPlayed = Played(now);
    FFocused = focused;
    FSince = now;
}

// A clock that went back counts nothing for the span.
int64_t TGameClock::Played(int64_t now) const
{
    return Counting() ? FPlayed + std::max<int64_t>(now - FSince, 0) : FPlayed;
}
