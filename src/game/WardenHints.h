#pragma once

#include "game/PlayListener.h"
#include "game/WardenCoach.h"
#include "game/WardenPlay.h"
#include "platform/BackgroundTask.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

// Hints and "show me": the next move of a way back, or the whole way, one move per move cycle.
// The solver works the way out on a thread of its own while the game goes on; it is also asked
// for the par when a scramble ends.
class TWardenHints : public TPlayListener {
public:
    // Each move played for the player is announced in words.
    TWardenHints(TWardenPlay& play, std::function<void(const std::string&)> announce);

    // Refused when no game runs, during the scramble and during a move.
    void ShowHint();
    void ShowMe();
    // The par, the way back and the help given in the game in play.
    const TWardenCoach& Coach() const { return FCoach; }

    void PlayEvent(TPlayEvent event) override;
    // Any key or click ends "show me" and forgets a hint still waiting for the solver.
    void PlayerActed() override;

private:
    enum class THelp : uint8_t { None, Hint, ShowMe };
    void GiveHelp(THelp help);
    void ContinueHelp();
    // Asks the solver for a way back from the board as it is now: for the par when the scramble
    // has ended, else for help.
    void RequestSolution(bool forPar);
    void Reset();
    void PrepareSolverTables();

    TWardenPlay& FPlay;
    std::function<void(const std::string&)> FAnnounce;
    TWardenCoach FCoach;
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
