#pragma once

#include "play/PlayCommand.h"

#include <cstdint>

// What befalls a game, for the window's parts to tell, to count and to help with.
// Moved: a move cycle has ended without winning. Stopped: Exit, also once at set-up. Resized:
// the idle board has taken another size. Resumed: a game kept from an earlier run plays on, ready
// for a move.
enum class TPlayEvent : uint8_t { Started, Scrambled, Moved, Won, Stopped, Resized, Resumed };

// A part that follows the play. The play tells each listener, in the order they were added, of
// every play event with a view of the game, and of every key or click of the player's own. A
// listener acts on the game only through commands, which the play runs once the transition it
// is in has ended.
class TPlayListener {
public:
    virtual ~TPlayListener() = default;
    virtual void PlayEvent(TPlayEvent event, const TPlayView& view) = 0;
    // A key other than the repeat of a shortcut, or a click on the board or the background.
    virtual void PlayerActed() { }
    // A command allowed now that the play leaves to its listeners (hint, show me).
    virtual void Asked(const TCommand&, const TPlayView&) { }
};

// The way in to the play for its listeners and the window's parts.
class TPlayDoor {
public:
    virtual ~TPlayDoor() = default;
    virtual TPlayView View() const = 0;
    // Whether the command may act now.
    virtual bool Allowed(const TCommand& command) const = 0;
    // A command of the player's: runs now, unless the play is in a transition, when it waits
    // for its end. False when it was not allowed or had no effect.
    virtual bool Do(const TCommand& command) = 0;
    // A command of a listener's: runs once the transition and the move in hand have ended.
    virtual void Post(const TCommand& command) = 0;
};
