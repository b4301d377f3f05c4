#pragma once

#include "solver/SolverBoard.h"

#include <atomic>
#include <optional>

// A short solution for boards of four or more rows (in some orientation), built in phases: a
// 2 x 2 block placed in the fewest moves, then the block grown a column at a time over all rows
// but the last two, each growth searched for its fewest moves with the block kept, and the last
// two rows finished from a table, or by a search bounded by tables where they are long. Every
// placement of the block on the wrapping board, either way round and mirrored, starts a candidate;
// the most promising few are carried through the phases, the best of them with three built rows
// search the third row's pair with the next column, and their last two columns, again as one,
// and the shortest few finished ones are shortened stretch by stretch. Nullopt when the board has
// no such frame, when no candidate finishes, or when cancelled.
std::optional<TMoveList> BuildInPhases(
    const TClassPair& pair, const std::atomic<bool>* cancel = nullptr);
