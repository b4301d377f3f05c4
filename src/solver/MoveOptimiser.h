#pragma once

#include "solver/SolverBoard.h"

// Shortens a move list without changing its effect: rotations of parallel lines commute, so each
// run of column moves (or of row moves) is reduced to the net turn of each line, taken the
// shorter way round. Runs that vanish let their neighbours merge, until nothing changes.
TMoveList OptimiseMoves(const TMoveList& moves, int32_t cols, int32_t rows);

// Appends the moves that carry a cell along a line from position `from` to position `to`.
void AppendLineTurn(
    TMoveList& moves, bool isColumn, int32_t line, int32_t from, int32_t to, int32_t length);
