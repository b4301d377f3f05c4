#pragma once

#include "solver/SolverBoard.h"

// Shortens a move list by replacing stretches of it with shorter move lists of the same effect:
// every effect of up to four moves is known from a table (built once per board size, when first
// needed), and a stretch of up to seven moves is matched against one or two moves followed by a
// known effect. Runs until no stretch can be shortened, merging turns of parallel lines as it
// goes; the result never is longer and always has the same effect.
TMoveList ShortenWindows(const TMoveList& moves, int32_t cols, int32_t rows);
