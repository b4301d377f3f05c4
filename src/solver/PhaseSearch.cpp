#include "solver/PhaseSearch.h"

#include "solver/Deepening.h"

#include <algorithm>

namespace {

constexpr int32_t MaxPhaseMoves = 24;
constexpr int64_t CancelCheckNodes = 4096;

int32_t LineDistance(int32_t from, int32_t to, int32_t length)
{
    const int32_t forward = ((to - from) % length + length) % length;
    return std::min(forward, length - forward);
}

// The turns of its column and row a tile needs at least to reach its goal.
int32_t AloneDistance(int32_t cell, int32_t goal, int32_t cols, int32_t rows)
{
    return LineDistance(cell % cols, goal % cols, cols)
        + LineDistance(cell / cols, goal / cols, rows);
}

class TPhaseSearch {
public:
    TPhaseSearch(const TPhaseProblem& problem, const TPhaseLimits& limits)
        : FLimits(limits)
        , FTiles(static_cast<int32_t>(problem.Cell.size()))
        , FCols(problem.Cols)
        , FRows(problem.Rows)
        , FCellMoves(TCellMoves::ForSize(problem.Cols, problem.Rows))
    {
        std::copy(problem.Cell.begin(), problem.Cell.end(), FCell.begin());
        std::array<bool, MaxSolverCells> covered {};
        FPatterns.resize(problem.Patterns.size());
        // The problem lists the phase's new tiles last; their patterns prune most.
        auto own = FPatterns.rbegin();
        for (const TPhaseProblem::TPattern& pattern : problem.Patterns) {
            own->Table = pattern.Table;
            own->Count = static_cast<int32_t>(pattern.Tiles.size());
            const int32_t firstGoal = problem.Goal[pattern.Tiles.front()];
            for (int32_t k = 0; k < own->Count; ++k) {
                own->Tiles[k] = pattern.Tiles[k];
                covered[pattern.Tiles[k]] = true;
                for (int32_t cell = 0; cell < FCols * FRows; ++cell)
                    own->Term[k][cell] = pattern.Table->Term(k, cell, firstGoal);
            }
            ++own;
        }
        // Tiles outside every pattern need at least the turns that carry them home alone.
        for (int32_t i = 0; i < FTiles; ++i) {
            if (covered[i])
                continue;
            std::array<uint8_t, MaxSolverCells> alone {};
            const int32_t goal = problem.Goal[i];
            for (int32_t cell = 0; cell < FCols * FRows; ++cell)
                alone[cell] = static_cast<uint8_t>(AloneDistance(cell, goal, FCols, FRows));
            FAlone.emplace_back(i, alone);
        }
    }

    // The bound, or any value above `enough` once it is clear that the bound exceeds it.
    int32_t Bound(int32_t enough = MaxPhaseMoves) const
    {
        int32_t bound = 0;
        for (const auto& [tile, alone] : FAlone)
            bound = std::max(bound, static_cast<int32_t>(alone[FCell[tile]]));
        for (const TPattern& pattern : FPatterns) {
            if (bound > enough)
                break;
            uint32_t index = 0;
            for (int32_t k = 0; k < pattern.Count; ++k)
                index += pattern.Term[k][FCell[pattern.Tiles[k]]];
            bound = std::max(bound, pattern.Table->At(index));
        }
        return bound;
    }

    TPhaseResult Run()
    {
        // The search keeps no bound past its limit: the lengths are tried one by one.
        const int32_t longest = std::min(MaxPhaseMoves, FLimits.MaxMoves);
        if (Bound() <= longest)
            Deepen(Bound(), longest + 1, [&](int32_t limit) {
                const bool go = Search(0, limit, -1, 0);
                if (!FSolutions.empty())
                    return TIteration {TDeepening::Found};
                return go ? TIteration {TDeepening::Deeper, limit + 1}
                          : TIteration {TDeepening::Stopped};
            });
        if (FStopped && FSolutions.empty())
            return {{}, FNodes};
        return {FSolutions, FNodes};
    }

private:
    struct TPattern {
        const TPatternTable* Table = nullptr;
        int32_t Count = 0;
        std::array<uint8_t, MaxPatternTiles> Tiles {};
        std::array<std::array<uint32_t, MaxSolverCells>, MaxPatternTiles> Term {};
    };

    void Apply(int32_t move)
    {
        const std::array<uint8_t, MaxSolverCells>& to = FCellMoves.To[move];
        for (int32_t i = 0; i < FTiles; ++i)
            FCell[i] = to[FCell[i]];
    }

    // False when the search must stop: the budget is spent, or enough solutions are found.
    bool Search(int32_t depth, int32_t limit, int32_t last, int32_t run)
    {
        if (++FNodes % CancelCheckNodes == 0 && FLimits.Cancel != nullptr
            && FLimits.Cancel->load(std::memory_order_relaxed))
            FStopped = true;
        if (FNodes > FLimits.MaxNodes)
            FStopped = true;
        if (FStopped)
            return false;
        const int32_t bound = Bound(limit - depth);
        if (bound == 0) {
            FSolutions.emplace_back(FPath.begin(), FPath.begin() + depth);
            return static_cast<int32_t>(FSolutions.size()) < FLimits.MaxSolutions;
        }
        if (depth + bound > limit)
            return true;
        // A line without tracked tiles turns nothing the phase cares about.
        uint32_t occupied = 0;
        for (int32_t i = 0; i < FTiles; ++i)
            occupied |= 1u << FCell[i];
        for (int32_t m = 0; m < static_cast<int32_t>(FCellMoves.Moves.size()); ++m) {
            const TSolverMove& move = FCellMoves.Moves[m];
            if ((FCellMoves.LineMask[m] & occupied) == 0
                || !WorthFollowing(last >= 0 ? &FCellMoves.Moves[last] : nullptr, run, move,
                    move.IsColumn ? FRows : FCols))
                continue;
            FPath[depth] = move;
            // Restoring the cells is cheaper than turning the line back.
            const std::array<uint8_t, MaxSolverCells> cells = FCell;
            Apply(m);
            const bool go = Search(depth + 1, limit, m, m == last ? run + 1 : 1);
            FCell = cells;
            if (!go)
                return false;
        }
        return true;
    }

    const TPhaseLimits& FLimits;
    int32_t FTiles;
    int32_t FCols;
    int32_t FRows;
    const TCellMoves& FCellMoves;
    std::array<uint8_t, MaxSolverCells> FCell {};
    std::vector<TPattern> FPatterns;
    std::vector<std::pair<int32_t, std::array<uint8_t, MaxSolverCells>>> FAlone;
    std::array<TSolverMove, MaxPhaseMoves> FPath {};
    std::vector<TMoveList> FSolutions;
    int64_t FNodes = 0;
    bool FStopped = false;
};

} // namespace

int32_t PhaseBound(const TPhaseProblem& problem)
{
    // Asked for every choice of tiles: only the terms of the tiles' own cells are counted.
    int32_t bound = 0;
    std::array<bool, MaxSolverCells> covered {};
    for (const TPhaseProblem::TPattern& pattern : problem.Patterns) {
        const int32_t firstGoal = problem.Goal[pattern.Tiles.front()];
        uint32_t index = 0;
        for (std::size_t k = 0; k < pattern.Tiles.size(); ++k) {
            covered[pattern.Tiles[k]] = true;
            index += pattern.Table->Term(
                static_cast<int32_t>(k), problem.Cell[pattern.Tiles[k]], firstGoal);
        }
        bound = std::max(bound, pattern.Table->At(index));
    }
    for (std::size_t i = 0; i < problem.Cell.size(); ++i)
        if (!covered[i])
            bound = std::max(
                bound, AloneDistance(problem.Cell[i], problem.Goal[i], problem.Cols, problem.Rows));
    return bound;
}

TPhaseResult SolvePhase(const TPhaseProblem& problem, const TPhaseLimits& limits)
{
    return TPhaseSearch(problem, limits).Run();
}
