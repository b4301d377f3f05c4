#include "solver/PuzzleSolver.h"

#include "common/KelException.h"
#include "solver/BlockBuilder.h"
#include "solver/ExactSearch.h"
#include "solver/MoveOptimiser.h"
#include "solver/SolverBoard.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// Boards with lines up to this long are worth a search for the fewest moves.
constexpr int32_t MaxSearchLines = 4;
constexpr int32_t SmallestCells = MinLines * MinLines;
// Nodes one search for a shortest rest of a built way may visit.
constexpr int64_t TailNodes = 50'000;

TSolution ToSolution(const TMoveList& moves, bool shortest, int32_t cols, int32_t rows)
{
    TSolution solution;
    solution.Shortest = shortest;
    for (const TSolverMove& move : moves)
        solution.Moves.push_back(ArrowForMove(move, cols, rows));
    return solution;
}

void CheckSolves(const TClassPair& pair, const TMoveList& moves)
{
    TClassBoard check = pair.Current;
    check.Apply(moves);
    if (check != pair.Target)
        throw std::logic_error("SolvePuzzle: the moves found do not solve the board");
}

bool Cancelled(const TSolveOptions& options)
{
    return options.Cancel != nullptr && options.Cancel->load(std::memory_order_relaxed);
}

// The built way's first moves are kept and the rest searched for the fewest moves: a board a
// few moves on is nearer the target and far cheaper to search. The more moves are kept, the
// longer the way can only be (a shortest rest after k moves is at most the kept moves after k
// plus the shortest rest from there), so the fewest kept moves whose rest is searched in full
// give the best way; once the built rest proves shortest, no later start can shorten it.
std::optional<TMoveList> ShortenTail(
    const TClassPair& pair, const TMoveList& built, const TSolveOptions& options)
{
    TClassPair rest = pair;
    int64_t nodesLeft = options.MaxTailNodes;
    for (std::size_t kept = 1; kept < built.size() && nodesLeft > 0; ++kept) {
        rest.Current.Apply(built[kept - 1]);
        TSearchLimits limits;
        limits.MaxNodes = std::min(nodesLeft, TailNodes);
        limits.KnownLength = static_cast<int32_t>(built.size() - kept);
        limits.Cancel = options.Cancel;
        const TSearchResult search = SearchShortest(rest, limits);
        nodesLeft -= search.Nodes;
        switch (search.Outcome) {
        case TSearchOutcome::Found: {
            TMoveList shorter(built.begin(), built.begin() + static_cast<std::ptrdiff_t>(kept));
            shorter.insert(shorter.end(), search.Moves.begin(), search.Moves.end());
            // The rest's first moves may cancel or merge with the last ones kept.
            return OptimiseMoves(shorter, pair.Current.Cols, pair.Current.Rows);
        }
        case TSearchOutcome::KnownIsShortest:
        case TSearchOutcome::NoBound:
            return built;
        case TSearchOutcome::Cancelled:
            return std::nullopt;
        case TSearchOutcome::OverBudget:
            break;
        }
    }
    return built;
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
    CheckSolves(pair, *built);

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
    case TSearchOutcome::NoBound:
        break;
    case TSearchOutcome::OverBudget: {
        const std::optional<TMoveList> shortened = ShortenTail(pair, *built, options);
        if (!shortened)
            return std::nullopt;
        CheckSolves(pair, *shortened);
        const bool fewest = static_cast<int32_t>(shortened->size()) <= search.FewestPossible;
        return ToSolution(*shortened, fewest, cols, rows);
    }
    }
    return ToSolution(*built, false, cols, rows);
}

std::optional<TSolution> SolvePuzzle(const TPuzzleBoard& board, const TSolveOptions& options)
{
    return SolvePuzzle(board.Current, board.Target, board.Cols(), board.Rows(), options);
}
