#include "solver/PuzzleSolver.h"

#include "common/KelException.h"
#include "solver/BlockBuilder.h"
#include "solver/ExactSearch.h"
#include "solver/SolverBoard.h"

#include <limits>
#include <stdexcept>

namespace {

// Boards with lines up to this long are worth a search for the fewest moves.
constexpr int32_t MaxSearchLines = 4;
constexpr int32_t SmallestCells = MinLines * MinLines;

TSolution ToSolution(const TMoveList& moves, bool shortest, int32_t cols, int32_t rows)
{
    TSolution solution;
    solution.Shortest = shortest;
    for (const TSolverMove& move : moves)
        solution.Moves.push_back(ArrowForMove(move, cols, rows));
    return solution;
}

bool Cancelled(const TSolveOptions& options)
{
    return options.Cancel != nullptr && options.Cancel->load(std::memory_order_relaxed);
}

} // namespace

std::optional<TSolution> SolvePuzzle(const TRoadBoard& current, const TRoadBoard& target,
    int32_t cols, int32_t rows, const TSolveOptions& options)
{
    const TClassPair pair = ClassifyBoards(current, target, cols, rows);
    if (pair.Current == pair.Target)
        return TSolution {{}, true};
    // With every line of odd length each move is an even permutation of the cells.
    if (cols % 2 == 1 && rows % 2 == 1 && !HasRepeatedClass(pair.Target)
        && OddArrangement(pair.Current, pair.Target))
        throw KelException("Solve: no rotations turn this board into the target");

    if (Cancelled(options))
        return std::nullopt;
    const std::optional<TMoveList> built = BuildSolution(pair, options.Cancel);
    if (!built && Cancelled(options))
        return std::nullopt;
    if (!built)
        throw KelException("Solve: no rotations turn this board into the target");
    TClassBoard check = pair.Current;
    check.Apply(*built);
    if (check != pair.Target)
        throw std::logic_error("SolvePuzzle: the built moves do not solve the board");

    if (Cancelled(options))
        return std::nullopt;
    if (cols > MaxSearchLines || rows > MaxSearchLines)
        return ToSolution(*built, false, cols, rows);
    TSearchLimits limits;
    limits.MaxNodes = pair.Current.Count() == SmallestCells ? std::numeric_limits<int64_t>::max()
                                                            : options.MaxNodes;
    limits.KnownLength = static_cast<int32_t>(built->size());
    limits.Cancel = options.Cancel;
    const TSearchResult search = SearchShortest(pair, limits);
    switch (search.Outcome) {
    case TSearchOutcome::Found:
        return ToSolution(search.Moves, true, cols, rows);
    case TSearchOutcome::KnownIsShortest:
        return ToSolution(*built, true, cols, rows);
    case TSearchOutcome::Cancelled:
        return std::nullopt;
    case TSearchOutcome::OverBudget:
    case TSearchOutcome::NoBound:
        break;
    }
    return ToSolution(*built, false, cols, rows);
}

std::optional<TSolution> SolvePuzzle(const TPuzzleBoard& board, const TSolveOptions& options)
{
    return SolvePuzzle(board.Current, board.Target, board.Cols(), board.Rows(), options);
}
