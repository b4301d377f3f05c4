#pragma once

#include <cstdint>

// The time a game has been played, in milliseconds: it runs from the end of the scramble to the
// win, and only while the window has the focus. Pure: every reading is handed the time now, from
// any clock that only goes forward.
class TGameClock {
public:
    // Starts counting from played (a resumed game's time).
    void Run(int64_t now, int64_t played = 0);
    // Stops counting and keeps the time played.
    void Halt(int64_t now);
    void Reset();
    void SetFocused(bool focused, int64_t now);
    int64_t Played(int64_t now) const;

private:
    bool Counting() const { return FRunning && FFocused; }

    bool FRunning = false;
    bool FFocused = true;
    int64_t FPlayed = 0;
    int64_t FSince = 0;
};
