#pragma once

#include "game/BoardPainter.h"
#include "game/PlayListener.h"
#include "puzzle/WardenGame.h"

#include <cstdint>
#include <optional>

// The game timer's two rhythms.
constexpr uint32_t ScrambleInterval = 55;
constexpr uint32_t MoveInterval = 100;

// What the game needs of its window: where the boards lie, showing a board's surface on its
// paint box, the one game timer, and the buttons.
class TWardenScreen {
public:
    virtual ~TWardenScreen() = default;
    virtual TPoint BoardPosition(TBoardKind kind) const = 0;
    // Transfers the surface (a board's own or an animation frame) to the board's paint box.
    virtual void ShowBoard(TBoardKind kind, TVX8ImageData* surface) = 0;
    // (Re)starts the game timer with a new interval, or stops it.
    virtual void StartGameTimer(uint32_t intervalMs) = 0;
    virtual void StopGameTimer() = 0;
    virtual void EnableControls(bool idle) = 0;
    // Whether a move slides its line; asked when each move starts.
    virtual bool AnimationsEnabled() const { return true; }
    virtual void GameEvent(TPlayEvent) { }
};

// The game as the player meets it: buttons, arrows by mouse or key, the scramble and the move
// animation driven by timer ticks, the end of a game. Knows nothing of the window system.
class TWardenPlay {
public:
    TWardenPlay(TRandomSource& random, const TGameImages& images, TTilePainter tiles,
        TWardenScreen& screen);
    TWardenPlay(const TWardenPlay&) = delete;
    TWardenPlay& operator=(const TWardenPlay&) = delete;

    TWardenGame Game;
    const TBoardPainter Painter;

    // Buttons and the size caption.
    void Start();
    void Stop();
    // Tag 1 one column less, 2 one row less, 3 one column more, 4 one row more, else no change.
    void ColRow(int32_t tag);
    void NewPicture();
    // Sets the board size with the window's follow-up; used at set-up.
    void SetSize(int32_t cols, int32_t rows);

    // Play board pointer, in board pixels.
    void BoardMouseDown(int32_t x, int32_t y);
    void BoardMouseUp();
    // Whether the pointer shows the hand: over an arrow that would be accepted now.
    bool ArrowAcceptedAt(int32_t x, int32_t y) const;
    void KeyPress(char32_t key);
    void KeyUp();

    void TimerTick();

    void RenderBoard(TBoardKind kind);
    void RenderBoards();
    void ShowBoard(TBoardKind kind);
    void ShowBoards();

    void PressArrow(bool isColumn, int32_t index);
    // Takes the last rotation back, or makes the last undone one again, as one move of the
    // opposite or the same arrow that never repeats. Refused (false) during the scramble, while a
    // move cycle runs and with nothing to undo or redo.
    bool Undo();
    bool Redo();
    // A game runs, its scramble is over and no move cycle runs.
    bool ReadyForMove() const;
    // Plays the arrow as one move that never repeats, as a hint does; refused (false) when not
    // ready for a move.
    bool PlayMove(TArrow arrow);

private:
    void StartScramble();
    void StartMove();
    void DrawScrollFrame();
    void FinishMove();
    bool AcceptsArrows() const;
    // Draws the active arrow and the moved line, and runs the move cycle.
    void BeginSlide();
    void DrawMovedLine();
    void DrawWholeBoard();

    const TGameImages& FImages;
    TWardenScreen& FScreen;
    // Whether the running move slides its line or shows its final picture at once.
    bool FAnimated = true;
};
