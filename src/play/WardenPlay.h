#pragma once

#include "common/KelStd.h"
#include "play/BoardPainter.h"
#include "play/GameClock.h"
#include "play/KeptGame.h"
#include "play/PlayListener.h"
#include "puzzle/WardenGame.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// The game timer's two rhythms.
constexpr uint32_t ScrambleInterval = 55;
constexpr uint32_t MoveInterval = 100;

// The game as its painter and listeners see it, without what the solver has told.
TPlayView ViewOf(const TWardenGame& game);

// What the game needs of its window: where the boards lie, showing a board's surface on its
// paint box, the one game timer, the buttons, and the window's own commands.
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
    // Zoom, guide and close: the window carries them out.
    virtual void WindowCommand(const TCommand&) { }
};

// The game as the player meets it: every command comes in through Do or Post, which check with
// Allowed whether it may act now; the scramble and the move animation run on timer ticks; the
// listeners hear what befalls the game. Knows nothing of the window system.
class TWardenPlay : public TPlayDoor {
public:
    TWardenPlay(TRandomSource& random, const TGameImages& images, TTilePainter tiles,
        TWardenScreen& screen);
    TWardenPlay(const TWardenPlay&) = delete;
    TWardenPlay& operator=(const TWardenPlay&) = delete;

    TWardenGame Game;
    const TBoardPainter Painter;

    bool Do(const TCommand& command) override;
    void Post(const TCommand& command) override;
    TPlayView View() const override;
    // Whether the command may act now: the one rule for keys, buttons, the mouse, assistive
    // technology and listeners alike.
    bool Allowed(const TCommand& command) const override;

    // Adds a part that follows the play; not owned, it must stay while the play runs.
    void Listen(TPlayListener& listener) { FListeners.push_back(&listener); }
    // Tells the listeners of a key or click of the player's own.
    void PlayerActed();
    // What the solver has told about the game in play; the hints write it.
    TWardenCoach& Coach() { return FCoach; }

    // Shorthands for the player's commands.
    void Start() { Do(TCommand::Of(TCommandKind::Start)); }
    void Stop() { Do(TCommand::Of(TCommandKind::Stop)); }
    void ColRow(int32_t tag) { Do(TCommand::Of(TCommandKind::SizeStep, tag)); }
    void NewPicture() { Do(TCommand::Of(TCommandKind::NewPicture)); }
    void PressArrow(bool isColumn, int32_t index) { Do(TCommand::Press({isColumn, index})); }
    // A typed character: the arrow it stands for, if any.
    void KeyPress(char32_t key);
    void KeyUp() { Do(TCommand::Of(TCommandKind::ReleaseArrow)); }
    // Play board pointer, in board pixels.
    void BoardMouseDown(int32_t x, int32_t y);
    void BoardMouseUp() { KeyUp(); }
    // Whether the pointer shows the hand: over an arrow while the game accepts arrows.
    bool ArrowAcceptedAt(int32_t x, int32_t y) const;
    // Sets the board size with the window's follow-up; used at set-up.
    void SetSize(int32_t cols, int32_t rows);

    // Plays on from a kept game, as the window shows a game ready for a move; false, and the
    // play unchanged, while a game runs or when the kept one is not a game in play.
    bool Resume(const TKeptGame& kept);
    // Ends what runs now at once, as its ticks would: the scramble, and a move, which then counts
    // as let go. Nothing while a command or a tick is carried out.
    void Settle();
    // The game in play to keep; nothing when none is played, or it is won.
    std::optional<TKeptGame> Kept() const;

    void TimerTick();
    // Whether the window has the focus: the game's time runs only while it has.
    void SetFocused(bool focused) { FClock.SetFocused(focused, Clock()); }
    // Milliseconds from any fixed point, never going back; tests set their own.
    std::function<int64_t()> Clock = SteadyMilliseconds;

    void RenderBoard(TBoardKind kind);
    void RenderBoards();
    void ShowBoard(TBoardKind kind);
    void ShowBoards();

private:
    bool Execute(const TCommand& command);
    void RunPosted();
    void Tell(TPlayEvent event);
    bool StartGame();
    void StopGame();
    bool SizeStep(int32_t tag);
    bool NewPuzzle();
    bool Press(TArrow arrow);
    bool HelpMove(TArrow arrow);
    void StartScramble();
    void StartMove();
    void TimerStep();
    void DrawScrollFrame();
    void FinishMove();
    // Draws the active arrow and the moved line, and runs the move cycle.
    void BeginSlide();
    void DrawMovedLine();
    void DrawWholeBoard();

    const TGameImages& FImages;
    TWardenScreen& FScreen;
    TWardenCoach FCoach;
    std::vector<TPlayListener*> FListeners;
    // Commands that wait for the transition in hand, and those of listeners also for the move.
    std::deque<TCommand> FWaiting;
    std::deque<TCommand> FPosted;
    // Set while a command or a tick is carried out.
    bool FBusy = false;
    // Whether the running move slides its line or shows its final picture at once.
    bool FAnimated = true;
    TGameClock FClock;
};
