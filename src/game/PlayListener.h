#pragma once

#include <cstdint>

// What befalls a game, for the window's parts to tell, to count and to help with.
// Moved: a move cycle has ended without winning. Stopped: Exit, also once at set-up.
enum class TPlayEvent : uint8_t { Started, Scrambled, Moved, Won, Stopped };

// A part of the game window that follows the play. The window tells each listener, in the order
// they were added, of every play event and of every key or click of the player's own.
class TPlayListener {
public:
    virtual ~TPlayListener() = default;
    virtual void PlayEvent(TPlayEvent event) = 0;
    // A key other than the repeat of a shortcut, or a click on the board or the background.
    virtual void PlayerActed() { }
};
