#pragma once

#include "common/Random.h"
#include "puzzle/PuzzleBoard.h"

#include <cstdint>

// What the game timer drives.
constexpr uint8_t TimerMoveCycle = 0;
constexpr uint8_t TimerScramble = 1;

// The game state and its transitions. The game window calls them from its event handlers and
// draws around them; the board reports the lines it moves through its observer. Only the
// transitions change the state.
//
// Idle: not Playing, not Won. Won: not Playing, Won, NeedNewPuzzle. Scrambling: Playing,
// ScrambleCount > 0. Playing: Playing, ScrambleCount = 0, ArrowIndex the arrow of the running
// move cycle or 0.
class TWardenGame {
public:
    // The source is not owned and must outlive the game.
    explicit TWardenGame(TRandomSource& random)
        : Board(random)
    {
    }

    TPuzzleBoard Board;

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
    // New counts (out-of-range ones ignored), then a new puzzle; refused while Playing.
    bool SizeChange(int32_t cols, int32_t rows);
    // A new puzzle only, refused while Playing; after a win, Won stays set.
    bool NewPicture();

    // Makes the arrow active when the game accepts moves and no other arrow is active.
    bool PressArrow(bool isColumn, int32_t index);
    // Rotates by the active arrow and starts the move cycle at its first tick.
    void StartMove();
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
