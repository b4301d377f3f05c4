#pragma once

#include "common/Random.h"
#include "puzzle/MoveHistory.h"
#include "puzzle/PuzzleBoard.h"

#include <cstdint>

// What the game timer drives.
constexpr uint8_t TimerMoveCycle = 0;
constexpr uint8_t TimerScramble = 1;

// The game state and its transitions. The play calls them and draws from what they leave: a
// move keeps the board before it, the arrow and the step, which is all a slide's frame needs.
// Only the transitions change the state.
//
// Idle: not Playing, not Won. Won: not Playing, Won, NeedNewPuzzle. Scrambling: Playing,
// ScrambleCount > 0. Playing: Playing, ScrambleCount = 0, ArrowIndex the arrow of the running
// move cycle or 0.
class TWardenGame {
public:
    // The source is not owned and must outlive the game.
    explicit TWardenGame(TRandomSource& random)
        : FRandom(random)
    {
    }

    TPuzzleBoard Board;
    // The board before the running or last move, and the arrow it slides by.
    const TPuzzleBoard& Before() const { return FBefore; }
    TArrow Arrow() const { return {FArrowIsColumn, FArrowIndex}; }
    // The current game's rotations; cleared by Start, Stop, a size change and a new picture.
    const TMoveHistory& History() const { return FHistory; }

    bool Playing() const { return FPlaying; }
    bool Won() const { return FWon; }
    bool ArrowIsColumn() const { return FArrowIsColumn; }
    int32_t ArrowIndex() const { return FArrowIndex; }
    bool Released() const { return FReleased; }
    int32_t Step() const { return FStep; }
    uint8_t TimerMode() const { return FTimerMode; }
    int32_t ScrambleCount() const { return FScrambleCount; }
    bool NeedNewPuzzle() const { return FNeedNewPuzzle; }

    // Begins a game and its scramble, with a new puzzle first after a win. False while Playing.
    bool Start();
    // One scramble tick; true while the timer is to go on. A tick that comes when no scramble
    // runs (after Stop, or late) changes nothing and answers false.
    bool ScrambleStep();
    // Ends any game and shows a fresh puzzle; Won stays. Also the idle state at start-up.
    void Stop();
    // Plays on from a kept game, ready for a move: its rotations come back for undo and redo.
    // Refused while Playing, and for a record that is not of a game in play on the board: tiles
    // that rotations cannot bring there from the target, arrows that do not lead to it, or a
    // board already solved.
    bool Resume(const TPuzzleBoard& board, const TMoveRecord& record);
    // New counts (out-of-range ones ignored), then a new puzzle; refused while Playing.
    bool SizeChange(int32_t cols, int32_t rows);
    // A new puzzle only, refused while Playing; after a win, Won stays set.
    bool NewPicture();

    // A game runs and its scramble is over.
    bool AcceptsArrows() const { return FPlaying && FScrambleCount <= 0; }
    // Whether the arrow may be pressed now: it exists, the game accepts arrows and no other
    // arrow is active.
    bool ArrowAllowed(TArrow arrow) const;
    // Arrows are accepted and none is active.
    bool ReadyForMove() const { return AcceptsArrows() && FArrowIndex == 0; }

    // Makes the arrow active when it is allowed.
    bool PressArrow(bool isColumn, int32_t index);
    // Rotates by the active arrow, records the rotation and starts the move cycle at its first
    // tick.
    void StartMove();
    // Takes the last rotation back, or makes the last undone one again: the board returns to
    // its state and the move cycle slides the line there, released from the start. Refused
    // (false) unless ready for a move with something to undo or redo.
    bool Undo();
    bool Redo();
    // The key or button that started the active arrow was let go.
    void ReleaseArrow();
    // One tick of the running move cycle; answers the step it has reached.
    int32_t MoveTick() { return ++FStep; }
    // The move cycle is over: no arrow is active any more.
    void EndMove() { FArrowIndex = 0; }
    // At the end of a move cycle: when the board is solved the game ends as won (true).
    bool MoveFinished();

private:
    void NewPuzzle();
    bool Restore(std::optional<TRestore> state);

    TRandomSource& FRandom;
    TPuzzleBoard FBefore;
    TMoveHistory FHistory;
    bool FPlaying = false;
    bool FWon = false;
    bool FArrowIsColumn = false;
    int32_t FArrowIndex = 0;
    bool FReleased = false;
    int32_t FStep = 0;
    uint8_t FTimerMode = TimerMoveCycle;
    int32_t FScrambleCount = 0;
    bool FNeedNewPuzzle = false;
};
