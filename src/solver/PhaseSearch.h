#pragma once

#include "solver/PatternTable.h"

#include <atomic>
#include <vector>

// One phase of a build: some tiles, each to be brought to its own cell, with the rest of the
// board free to end anywhere. Tiles already home are tracked too, so that they come back.
// Cells are numbered row by row.
struct TPhaseProblem {
    int32_t Cols = MaxLines;
    int32_t Rows = MaxLines;
    std::vector<uint8_t> Cell;
    std::vector<uint8_t> Goal;
    // Groups of tiles whose exact joint distance bounds the search; the table's first tile is
    // the group's first.
    struct TPattern {
        const TPatternTable* Table = nullptr;
        std::vector<uint8_t> Tiles;
    };
    std::vector<TPattern> Patterns;
};

struct TPhaseLimits {
    // Nodes the search may visit before it gives up.
    int64_t MaxNodes = 0;
    // Solutions of the fewest moves collected, each leaving the free tiles elsewhere.
    int32_t MaxSolutions = 1;
    const std::atomic<bool>* Cancel = nullptr;
    // Moves a solution may take: a caller that knows a way of that many asks only for shorter.
    int32_t MaxMoves = 24;
};

struct TPhaseResult {
    std::vector<TMoveList> Solutions;
    int64_t Nodes = 0;
};

// The lower bound the search starts from: the largest pattern distance, and for each tile the
// turns of its row and column it needs at least.
int32_t PhaseBound(const TPhaseProblem& problem);

// Iterative deepening over all moves for the fewest that bring every tile home. No solutions
// when the node budget runs out or the search is cancelled first.
TPhaseResult SolvePhase(const TPhaseProblem& problem, const TPhaseLimits& limits);
