#include "solver/PuzzleSolver.h"

#include "common/KelException.h"
#include "solver/BlockBuilder.h"
#include "solver/BuiltOnce.h"
#include "solver/ExactSearch.h"
#include "solver/MoveOptimiser.h"
#include "solver/PhaseProblemMaker.h"
#include "solver/SeventhTileTable.h"
#include "solver/SolverBoard.h"
#include "solver/TableFile.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// Boards with lines up to this long are worth a search for the fewest moves.
constexpr int32_t MaxSearchLines = 4;
constexpr int32_t SmallestCells = MinLines * MinLines;
// Nodes one search for the fewest moves of one end of a way may visit.
constexpr int64_t EndNodes = 50'000;

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

// One end of the way, its last moves (rest) or its first, is replaced by the fewest moves that
// do the same, found by a search that is far cheaper than one of the whole board. The longer
// the end searched, the shorter the way can get: the fewest moves for the last k moves are at
// most one more than those for the last k - 1 (and likewise for the first), so the longest
// end whose search finishes gives the best way, and once an end proves shortest, no shorter
// end can improve on it.
std::optional<TMoveList> ShortenEnd(const TClassPair& pair, const TMoveList& way, bool rest,
    int64_t& nodesLeft, const std::atomic<bool>* cancel)
{
    const auto length = static_cast<int32_t>(way.size());
    for (int32_t end = length - 1; end >= 1 && nodesLeft > 0; --end) {
        const int32_t split = rest ? length - end : end;
        const auto splitAt = way.begin() + split;
        TClassPair part = pair;
        TClassBoard& middle = rest ? part.Current : part.Target;
        middle = pair.Current;
        middle.Apply(TMoveList(way.begin(), splitAt));
        TSearchLimits limits;
        limits.MaxNodes = std::min(nodesLeft, EndNodes);
        limits.KnownLength = end;
        limits.Cancel = cancel;
        const TSearchResult search = SearchShortest(part, limits);
        nodesLeft -= search.Nodes;
        switch (search.Outcome) {
        case TSearchOutcome::Found: {
            TMoveList shorter = rest ? TMoveList(way.begin(), splitAt) : search.Moves;
            if (rest)
                shorter.insert(shorter.end(), search.Moves.begin(), search.Moves.end());
            else
                shorter.insert(shorter.end(), splitAt, way.end());
            // The moves either side of the split may cancel or merge.
            return OptimiseMoves(shorter, pair.Current.Cols, pair.Current.Rows);
        }
        case TSearchOutcome::KnownIsShortest:
        case TSearchOutcome::NoBound:
            return way;
        case TSearchOutcome::Cancelled:
            return std::nullopt;
        case TSearchOutcome::OverBudget:
            break;
        }
    }
    return way;
}

// The way a search past its budget settles for, shortened at its end and then at its start.
std::optional<TMoveList> ShortenWay(
    const TClassPair& pair, const TMoveList& built, const TSolveOptions& options)
{
    int64_t nodesLeft = options.MaxShorteningNodes;
    const std::optional<TMoveList> restShortened
        = ShortenEnd(pair, built, true, nodesLeft, options.Cancel);
    if (!restShortened)
        return std::nullopt;
    return ShortenEnd(pair, *restShortened, false, nodesLeft, options.Cancel);
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
        const std::optional<TMoveList> shortened = ShortenWay(pair, *built, options);
        if (!shortened)
            return std::nullopt;
        CheckSolves(pair, *shortened);
        const bool fewest = static_cast<int32_t>(shortened->size()) <= search.FewestPossible;
        return ToSolution(*shortened, fewest, cols, rows);
    }
    }
    return ToSolution(*built, false, cols, rows);
}

void UseSolverTableFile(const std::string& path)
{
    SetTableFilePath(path);
}

bool PrepareSolver(int32_t cols, int32_t rows, const std::atomic<bool>* cancel)
{
    try {
        if (cols == PatternSide && rows == PatternSide)
            TSeventhTileTable::Shared(cancel);
        else
            TPhaseProblemMaker::PrepareTables(cols, rows, cancel);
        return true;
    } catch (const TTableCancelled&) {
        return false;
    }
}

// A preparation cancelled at once finds only tables that are already built.
bool SolverPrepared(int32_t cols, int32_t rows)
{
    const std::atomic<bool> stop {true};
    return PrepareSolver(cols, rows, &stop);
}

std::optional<TSolution> SolvePuzzle(const TPuzzleBoard& board, const TSolveOptions& options)
{
    return SolvePuzzle(board.Current, board.Target, board.Cols(), board.Rows(), options);
}
