#pragma once

#include "play/WardenCoach.h"
#include "puzzle/PuzzleBoard.h"

#include <cstdint>
#include <optional>

// Everything the player, or a part that follows the play, can ask of the game. The window's own
// commands (zoom, guide, close) pass through the play too, so that every command has one way in.
enum class TCommandKind : uint8_t {
    PressArrow, // Arrow: pressed by a key, the mouse or assistive technology
    ReleaseArrow, // the key or button of the active arrow let go
    Start,
    Stop,
    SizeStep, // Value: 1 one column less, 2 one row less, 3 one column more, 4 one row more
    NewPicture,
    Undo,
    Redo,
    Hint,
    ShowMe,
    HelpMove, // Arrow: a move played for the player, released from the start
    Zoom, // Value: 1 a step larger, -1 a step smaller, 0 back to the designed size
    Guide,
    Close,
};

struct TCommand {
    TCommandKind Kind = TCommandKind::Stop;
    TArrow Arrow {};
    int32_t Value = 0;

    static TCommand Of(TCommandKind kind, int32_t value = 0) { return {kind, {}, value}; }
    static TCommand Press(TArrow arrow) { return {TCommandKind::PressArrow, arrow, 0}; }
    static TCommand Help(TArrow arrow) { return {TCommandKind::HelpMove, arrow, 0}; }
    friend bool operator==(const TCommand&, const TCommand&) = default;
};

// The game as the parts that follow it see it; valid while the event or call that gave it runs.
struct TPlayView {
    const TPuzzleBoard& Board;
    // The rotations that count for the game in play or just won.
    int32_t Moves = 0;
    bool Playing = false;
    bool Scrambling = false;
    bool Won = false;
    // A won game whose picture still shows: it counts as the game in play for its records.
    bool WonPictureShown = false;
    // A game runs, its scramble is over and no move runs.
    bool ReadyForMove = false;
    // The active arrow, Index 0 when none.
    TArrow Arrow {};
    // A hint or "show me" has played a move of this game.
    bool Helped = false;
    std::optional<TPar> Par;
    // Milliseconds played since the scramble, while the window had the focus.
    int64_t PlayedMs = 0;
    // The board the scramble left, while a game is played: its par is the game's.
    const TPuzzleBoard* Scrambled = nullptr;
};
