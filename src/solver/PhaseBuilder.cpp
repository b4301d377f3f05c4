#include "solver/PhaseBuilder.h"

#include "solver/BuiltOnce.h"
#include "solver/MoveOptimiser.h"
#include "solver/PhaseCandidate.h"
#include "solver/PhaseProblemMaker.h"
#include "solver/TwoRowTable.h"
#include "solver/TwoThreads.h"
#include "solver/WindowOptimiser.h"

#include <algorithm>

namespace {

// How wide a build searches: the candidates carried from phase to phase, the solutions of the
// fewest moves each phase keeps per candidate, the nodes all of a build's phases may visit (a
// bound on the time of hard boards, which then keep the candidates that finished within it), and
// the arrangements the searches of the last two rows may visit over all final candidates. Builds
// of three rows have the column table to bound their phases, whose searches are then cheap
// enough for a wider beam. All of a build's nodes, shared by two threads, take about 10 ms on
// two rows and 40 ms on three.
struct TBuildWidths {
    std::size_t Beam = 0;
    int32_t SolutionsPerPhase = 0;
    int64_t Nodes = 0;
    int64_t FinishNodes = 0;
};
constexpr TBuildWidths TwoRowBuild {32, 3, 800'000, 20'000};
constexpr TBuildWidths ThreeRowBuild {96, 5, 3'000'000, 5'000};
constexpr std::size_t FinalWidth = 32;
// Choices among equal tiles searched per candidate and phase, the lowest bounds first.
constexpr std::size_t ChoicesPerPhase = 2;
// Finished candidates, the shortest first, whose moves are shortened stretch by stretch.
constexpr std::size_t ShortenedFinalists = 3;
// Nodes one phase search may visit.
constexpr int64_t PhaseNodes = 400'000;
// Nodes kept for phases in which no candidate grew within its share.
constexpr int64_t SpareNodes = 400'000;
constexpr int64_t SpareTries = 4;
// Final candidates, the most promising first, whose last two phases are searched again as one
// for fewer moves, with both choices among equal tiles that a phase searches, and the nodes one
// such search, and all of them, may visit.
constexpr std::size_t JoinedCandidates = 16;
constexpr int64_t JoinNodes = 150'000;
constexpr int64_t AllJoinNodes = 1'000'000;
// The same for the third row's pair and the next column, out of the build's nodes.
constexpr std::size_t MidJoinedCandidates = 32;
constexpr int64_t MidJoinNodes = 600'000;

class TPhaseBuilder {
public:
    TPhaseBuilder(const TClassPair& pair, const std::atomic<bool>* cancel)
        : FPair(pair)
        , FCancel(cancel)
        , FProblems(pair.Current.Cols)
    {
    }

    std::optional<TMoveList> Run()
    {
        std::vector<TPhaseCandidate> beam = StartingCandidates(FPair);
        if (beam.empty())
            return std::nullopt;
        const int32_t frameCols = beam.front().Frame.Cols;
        const int32_t builtRows = beam.front().Frame.Rows - 2;
        const std::vector<std::vector<TPhaseCell>> phases = PhaseCells(frameCols, builtRows);
        FWidths = builtRows == 3 ? ThreeRowBuild : TwoRowBuild;
        FNodesLeft = FWidths.Nodes;
        // The threads share the tables, which are therefore asked for before they start.
        for (const TPhaseCandidate& candidate : beam)
            FProblems.Prepare(candidate.Frame.Cols, candidate.Frame.Rows, FCancel);
        for (std::size_t phase = 0; phase < phases.size(); ++phase) {
            // Each phase may spend its share of what is left; the best candidates, which come
            // first, are grown while the share lasts.
            const int64_t share = FNodesLeft / static_cast<int64_t>(phases.size() - phase);
            std::vector<std::vector<TPhaseCandidate>> grown(beam.size());
            FNodesLeft -= OnTwoThreads(beam.size(), share, [&](std::size_t c, TNodeBudget& budget) {
                grown[c] = Grow(beam[c], phases, phase, budget);
            });
            std::vector<TPhaseCandidate> next;
            for (std::vector<TPhaseCandidate>& children : grown)
                for (TPhaseCandidate& child : children)
                    next.push_back(std::move(child));
            // Where no candidate grew within the share, the best ones try again on the spare
            // budget, so that a hard board still finishes in phases.
            for (std::size_t c = 0; next.empty() && c < beam.size() && FSpareNodes > 0; ++c) {
                TNodeBudget budget {std::min(FSpareNodes, SpareNodes / SpareTries)};
                next = Grow(beam[c], phases, phase, budget);
                FSpareNodes -= budget.Used;
                FNodesLeft -= budget.Used;
            }
            if (builtRows == 3 && phases.size() >= 5 && phase == 2)
                FNodesLeft -= JoinTwo(next, phases, phase, MidJoinedCandidates, MidJoinNodes);
            if (Cancelled())
                return std::nullopt;
            // The table's cost of the last rows decides between the final candidates.
            beam = Best(std::move(next), phase + 1 < phases.size() ? FWidths.Beam : FinalWidth);
        }
        if (builtRows == 3 && phases.size() >= 4) {
            JoinTwo(beam, phases, phases.size() - 1, JoinedCandidates, AllJoinNodes);
            std::stable_sort(
                beam.begin(), beam.end(), [](const TPhaseCandidate& a, const TPhaseCandidate& b) {
                    return a.Score < b.Score;
                });
        }
        std::vector<std::optional<TMoveList>> finishes(beam.size());
        OnTwoThreads(beam.size(), FWidths.FinishNodes, [&](std::size_t c, TNodeBudget& budget) {
            TPhaseCandidate& candidate = beam[c];
            const int64_t before = budget.Left;
            const bool done = FinishLastRows(candidate, budget.Left);
            budget.Used += before - budget.Left;
            if (!done)
                return;
            TMoveList actual;
            for (const TSolverMove& move : candidate.Moves)
                actual.push_back(candidate.Frame.ActualMove(move));
            finishes[c] = OptimiseMoves(actual, FPair.Current.Cols, FPair.Current.Rows);
        });
        std::vector<TMoveList> finished;
        for (std::optional<TMoveList>& moves : finishes)
            if (moves)
                finished.push_back(std::move(*moves));
        std::stable_sort(finished.begin(), finished.end(),
            [](const TMoveList& a, const TMoveList& b) { return a.size() < b.size(); });
        std::optional<TMoveList> best;
        // Shortening may reorder the finalists: the few shortest are each given the chance.
        for (std::size_t i = 0; i < finished.size() && i < ShortenedFinalists; ++i) {
            TMoveList shortest
                = ShortenWindows(finished[i], FPair.Current.Cols, FPair.Current.Rows);
            if (!best || shortest.size() < best->size())
                best = std::move(shortest);
        }
        return best;
    }

private:
    bool Cancelled() const
    {
        return FCancel != nullptr && FCancel->load(std::memory_order_relaxed);
    }

    std::vector<TPhaseCandidate> Grow(const TPhaseCandidate& candidate,
        const std::vector<std::vector<TPhaseCell>>& phases, std::size_t phase, TNodeBudget& budget,
        int32_t maxMoves = TPhaseLimits {}.MaxMoves, int64_t searchNodes = PhaseNodes) const
    {
        TPhaseProblem problem;
        std::vector<TPhaseChoice> choices;
        if (!FProblems.Problem(candidate, phases, phase, problem, choices))
            return {};
        std::array<uint8_t, MaxSolverCells> cellOfTile {};
        for (int32_t cell = 0; cell < candidate.Board.Count(); ++cell)
            cellOfTile[candidate.Tiles.Cells[cell]] = static_cast<uint8_t>(cell);
        const std::size_t placed = problem.Cell.size() - phases[phase].size();
        std::vector<TPhaseCandidate> children;
        for (std::size_t c = 0; c < choices.size() && c < ChoicesPerPhase; ++c) {
            TPhaseProblemMaker::SetChoice(problem, placed, cellOfTile, choices[c]);
            Solve(candidate, phases, phase, problem, choices[c].Tiles, children, budget, maxMoves,
                searchNodes);
        }
        return children;
    }

    void Solve(const TPhaseCandidate& candidate, const std::vector<std::vector<TPhaseCell>>& phases,
        std::size_t phase, const TPhaseProblem& problem, const std::vector<uint8_t>& chosen,
        std::vector<TPhaseCandidate>& children, TNodeBudget& budget, int32_t maxMoves,
        int64_t searchNodes) const
    {
        TPhaseLimits limits;
        if (budget.Left <= 0)
            return;
        limits.MaxNodes = std::min(searchNodes, budget.Left);
        limits.MaxSolutions = FWidths.SolutionsPerPhase;
        limits.Cancel = FCancel;
        limits.MaxMoves = maxMoves;
        const TPhaseResult result = SolvePhase(problem, limits);
        budget.Left -= result.Nodes;
        budget.Used += result.Nodes;
        std::shared_ptr<const TPhaseCandidate> parent;
        if (!result.Solutions.empty())
            parent = std::make_shared<const TPhaseCandidate>(candidate);
        for (const TMoveList& moves : result.Solutions) {
            TPhaseCandidate child = candidate;
            child.Parent = parent;
            child.Board.Apply(moves);
            child.Tiles.Apply(moves);
            child.Moves.insert(child.Moves.end(), moves.begin(), moves.end());
            for (std::size_t i = 0; i < chosen.size(); ++i) {
                const TPhaseCell& cell = phases[phase][i];
                child.HomeTile[child.Board.Index(cell.Col, cell.Row)]
                    = static_cast<int8_t>(chosen[i]);
            }
            child.Score = static_cast<int32_t>(
                OptimiseMoves(child.Moves, child.Board.Cols, child.Board.Rows).size());
            if (phase + 1 < phases.size()) {
                TPhaseProblem following;
                std::vector<TPhaseChoice> unused;
                if (!FProblems.Problem(child, phases, phase + 1, following, unused))
                    continue;
                child.Score += PhaseBound(following);
            }
            children.push_back(std::move(child));
        }
    }

    // Two phases searched as one often need fewer moves than one after the other: the most
    // promising candidates that grew in phase `second` are searched again from before the phase
    // ahead of it, through both phases at once and for fewer moves than they took; what is found
    // joins the candidates. Returns the nodes used.
    int64_t JoinTwo(std::vector<TPhaseCandidate>& candidates,
        const std::vector<std::vector<TPhaseCell>>& phases, std::size_t second, std::size_t count,
        int64_t nodes) const
    {
        std::vector<std::vector<TPhaseCell>> joined(phases.begin(), phases.begin() + second);
        joined.back().insert(joined.back().end(), phases[second].begin(), phases[second].end());
        joined.insert(joined.end(), phases.begin() + second + 1, phases.end());
        std::vector<std::size_t> order(candidates.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return candidates[a].Score < candidates[b].Score;
        });
        // Each earlier candidate once, with the fewest moves its descendants took. Where a parent
        // grew by a join, its own parent is a phase too early: the cells placed tell.
        std::size_t placedBefore = 0;
        for (std::size_t phase = 0; phase + 1 < second; ++phase)
            placedBefore += phases[phase].size();
        const auto placedBy = [](const TPhaseCandidate& candidate) {
            return static_cast<std::size_t>(std::count_if(candidate.HomeTile.begin(),
                candidate.HomeTile.end(), [](int8_t tile) { return tile != UnassignedTile; }));
        };
        std::vector<std::pair<const TPhaseCandidate*, int32_t>> searched;
        for (const std::size_t i : order) {
            const TPhaseCandidate& candidate = candidates[i];
            const TPhaseCandidate* before
                = candidate.Parent ? candidate.Parent->Parent.get() : nullptr;
            if (searched.size() == count)
                break;
            if (before == nullptr || placedBy(*before) != placedBefore
                || std::any_of(searched.begin(), searched.end(),
                    [&](const auto& other) { return other.first == before; }))
                continue;
            searched.emplace_back(
                before, static_cast<int32_t>(candidate.Moves.size() - before->Moves.size()));
        }
        std::vector<std::vector<TPhaseCandidate>> children(searched.size());
        const int64_t used
            = OnTwoThreads(searched.size(), nodes, [&](std::size_t c, TNodeBudget& budget) {
                  const auto& [before, taken] = searched[c];
                  children[c] = Grow(*before, joined, second - 1, budget, taken - 1, JoinNodes);
              });
        for (std::vector<TPhaseCandidate>& found : children)
            for (TPhaseCandidate& child : found)
                candidates.push_back(std::move(child));
        return used;
    }

    static std::vector<TPhaseCandidate> Best(
        std::vector<TPhaseCandidate> candidates, std::size_t width)
    {
        std::stable_sort(candidates.begin(), candidates.end(),
            [](const TPhaseCandidate& a, const TPhaseCandidate& b) { return a.Score < b.Score; });
        std::vector<TPhaseCandidate> kept;
        for (TPhaseCandidate& candidate : candidates) {
            if (kept.size() == width)
                break;
            const bool twin = std::any_of(kept.begin(), kept.end(), [&](const TPhaseCandidate& k) {
                return k.Frame.Transposed == candidate.Frame.Transposed
                    && k.Frame.Mirrored == candidate.Frame.Mirrored
                    && k.Frame.ColOffset == candidate.Frame.ColOffset
                    && k.Frame.RowOffset == candidate.Frame.RowOffset && k.Board == candidate.Board;
            });
            if (!twin)
                kept.push_back(std::move(candidate));
        }
        return kept;
    }

    // The last two rows from the table, or searched where they are long.
    static bool FinishLastRows(TPhaseCandidate& candidate, int64_t& nodesLeft)
    {
        const std::optional<TMoveList> finish
            = FinishTwoRowsSearched(candidate.Board, candidate.Goal, nodesLeft);
        if (!finish)
            return false;
        candidate.Board.Apply(*finish);
        candidate.Moves.insert(candidate.Moves.end(), finish->begin(), finish->end());
        return true;
    }

    const TClassPair& FPair;
    const std::atomic<bool>* FCancel;
    TBuildWidths FWidths;
    int64_t FNodesLeft = 0;
    int64_t FSpareNodes = SpareNodes;
    TPhaseProblemMaker FProblems;
};

} // namespace

std::optional<TMoveList> BuildInPhases(const TClassPair& pair, const std::atomic<bool>* cancel)
{
    try {
        return TPhaseBuilder(pair, cancel).Run();
    } catch (const TTableCancelled&) {
        return std::nullopt;
    }
}
