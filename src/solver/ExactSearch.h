#pragma once

#include "solver/SolverBoard.h"

#include <atomic>

struct TSearchLimits {
    // Nodes the search may visit before it gives up.
    int64_t MaxNodes = 0;
    // The length of a solution already known: the search stops once it has shown that nothing
    // shorter exists.
    int32_t KnownLength = 0;
    const std::atomic<bool>* Cancel = nullptr;
    // Threads a long search may share its work between, when the machine has them. The moves
    // found are the same with any number.
    int32_t MaxThreads = 2;
};

enum class TSearchOutcome { Found, KnownIsShortest, OverBudget, Cancelled, NoBound };

struct TSearchResult {
    TSearchOutcome Outcome = TSearchOutcome::OverBudget;
    TMoveList Moves;
    int64_t Nodes = 0;
    // Over budget: no solution has fewer moves than this, as the lengths below were searched
    // in full.
    int32_t FewestPossible = 0;
};

// Iterative deepening with the walking-distance bound across rows and across columns and, on
// 4 x 4 boards, the tile pattern bounds: the moves it finds are the fewest that solve the board.
// NoBound when the board is too large for the bound's tables.
TSearchResult SearchShortest(const TClassPair& pair, const TSearchLimits& limits);
