#pragma once

#include "play/BackgroundTask.h"
#include "play/PlayListener.h"
#include "play/WardenCoach.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

// Hints and "show me": the next move of a way back, or the whole way, one move per move cycle.
// The solver works the way out on a thread of its own while the game goes on; it is also asked
// for the par when a scramble ends.
class TWardenHints : public TPlayListener {
public:
    // The coach is the play's, which the hints keep informed. Each move played for the player
    // is announced in words; the solver's answers are handed to the game's thread.
    TWardenHints(TPlayDoor& play, TWardenCoach& coach,
        std::function<void(const std::string&)> announce, TGameThread gameThread);

    // The par, the way back and the help given in the game in play.
    const TWardenCoach& Coach() const { return FCoach; }

    void PlayEvent(TPlayEvent event, const TPlayView& view) override;
    // A hint or "show me", which the play allows only when a move may be made.
    void Asked(const TCommand& command, const TPlayView& view) override;
    // Any key or click ends "show me" and forgets a hint still waiting for the solver.
    void PlayerActed() override;

private:
    enum class THelp : uint8_t { None, Hint, ShowMe };
    void ContinueHelp();
    // Asks the solver for a way back from the board: for the par when the scramble has ended,
    // else for help.
    void RequestSolution(bool forPar, const TPuzzleBoard& board);
    void Reset();
    void PrepareSolverTables(int32_t cols, int32_t rows);

    TPlayDoor& FPlay;
    TWardenCoach& FCoach;
    std::function<void(const std::string&)> FAnnounce;
    TGameThread FGameThread;
    THelp FHelp = THelp::None;
    struct TSolveJob {
        TPuzzleBoard Board;
        std::unique_ptr<TBackgroundTask> Task;
        bool Pending() const { return Task && !Task->Finished(); }
    };
    TSolveJob FParSolve;
    TSolveJob FHelpSolve;
    // Builds the solver's tables for the size of the game being scrambled; it outlives games.
    std::unique_ptr<TBackgroundTask> FSolverTables;
    std::pair<int32_t, int32_t> FSolverTablesSize;
};
