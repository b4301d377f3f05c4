#pragma once

#include "puzzle/PuzzleBoard.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

struct TSolveOptions {
    // Nodes the search for the fewest moves may visit on boards larger than 3 x 3 before the
    // solver settles for a short solution instead; 3 x 3 boards are always solved exactly. Long
    // searches share their nodes between two threads where the machine has them.
    int64_t MaxNodes = 1'000'000;
    // Past MaxNodes, nodes the solver may spend on shortening the way it settles for.
    int64_t MaxShorteningNodes = 200'000;
    // Set from another thread to stop the solver; it then returns no solution.
    const std::atomic<bool>* Cancel = nullptr;
};

struct TSolution {
    // The arrows to play in order, as the game's ApplyArrow takes them.
    std::vector<TArrow> Moves;
    // The moves are the fewest that solve the board.
    bool Shortest = false;
};

// A list of moves that turns the current board into one that the solved test accepts. The
// solver keeps no state between calls except tables it builds once, so several threads may call
// it at once. Raises KelException when the size is out of range or when no rotations can solve
// the board; returns nullopt only when cancelled.
std::optional<TSolution> SolvePuzzle(const TRoadBoard& current, const TRoadBoard& target,
    int32_t cols, int32_t rows, const TSolveOptions& options = {});

std::optional<TSolution> SolvePuzzle(const TPuzzleBoard& board, const TSolveOptions& options = {});

// The file of the tables built ahead that the solver reads instead of building them, where it
// checks; it is read when a table is first needed, not here. Set before the first solve.
void UseSolverTableFile(const std::string& path);

// Builds the tables that solving a board of this size needs, or reads them from the table file,
// so that a later solve need not wait for them; at once when they are built or none are needed.
// On 4 x 4 it also builds the seventh tile's table, which takes seconds and which solves use
// once it is built, without waiting for it.
// Returns false when cancelled first.
bool PrepareSolver(int32_t cols, int32_t rows, const std::atomic<bool>* cancel = nullptr);

// Whether the tables that solving a board of this size needs are built.
bool SolverPrepared(int32_t cols, int32_t rows);
