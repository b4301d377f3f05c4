#pragma once

#include "solver/SolverBoard.h"

#include <atomic>
#include <optional>

// A short solution for a board of any size, found without search: the rows but the last two are
// filled cell by cell, each tile carried in by free lines or by a column turned out and back
// around a row turn, and the last two rows are finished from a table of their arrangements. The
// work is tried from every starting row, and with columns in place of rows, and the shortest
// result is kept after its moves are merged, or the phased build's where that is shorter.
// Nullopt only when no rotations solve the board.
std::optional<TMoveList> BuildSolution(
    const TClassPair& pair, const std::atomic<bool>* cancel = nullptr);
