#pragma once

#include "solver/SolverBoard.h"

#include <atomic>
#include <optional>

// A short solution for a board of any size: the phased build where the board has one, else the
// rows but the last two filled cell by cell, each tile carried in by free lines or by a column
// turned out and back around a row turn, and the last two rows finished from a table of their
// arrangements (tried from every starting row, and with columns in place of rows). The moves are
// then merged and shortened stretch by stretch. Nullopt when no rotations solve the board or
// when cancelled.
std::optional<TMoveList> BuildSolution(
    const TClassPair& pair, const std::atomic<bool>* cancel = nullptr);
