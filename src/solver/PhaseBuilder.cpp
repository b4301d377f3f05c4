#include "solver/PhaseBuilder.h"

#include "solver/MoveOptimiser.h"
#include "solver/PatternTable.h"
#include "solver/PhaseSearch.h"
#include "solver/TwoRowTable.h"
#include "solver/WindowOptimiser.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <thread>

namespace {

// Candidates carried from phase to phase, and the solutions of the fewest moves each phase
// keeps per candidate.
constexpr std::size_t BeamWidth = 32;
constexpr std::size_t FinalWidth = 32;
constexpr int32_t SolutionsPerPhase = 3;
// Choices among equal tiles searched per candidate and phase, the lowest bounds first.
constexpr std::size_t ChoicesPerPhase = 2;
// Ways of choosing among equal tiles for a phase's cells.
constexpr int32_t MaxAssignments = 32;
// Finished candidates, the shortest first, whose moves are shortened stretch by stretch.
constexpr std::size_t ShortenedFinalists = 3;
// Nodes one phase search, and all of a build's, may visit: a bound on the time of hard boards,
// which then keep the candidates that finished within it. A build's nodes, shared by two
// threads, take about 35 ms.
constexpr int64_t PhaseNodes = 400'000;
constexpr int64_t BuildNodes = 1'000'000;
// Nodes kept for phases in which no candidate grew within its share.
constexpr int64_t SpareNodes = 400'000;
constexpr int64_t SpareTries = 4;
// Final candidates, the most promising first, whose last two phases are searched again as one
// for fewer moves, with both choices among equal tiles that a phase searches, and the nodes one
// such search, and all of them, may visit.
constexpr std::size_t JoinedCandidates = 8;
constexpr int64_t JoinNodes = 150'000;
constexpr int64_t AllJoinNodes = 800'000;
// Arrangements the searches of the last two rows may visit, over all final candidates.
constexpr int64_t FinishNodes = 20'000;
constexpr int8_t Unassigned = -1;

struct TCell {
    int32_t Col = 0;
    int32_t Row = 0;
};

// How the builder's view maps onto the board: rows counted from `RowOffset`, columns from
// `ColOffset` (backwards when mirrored), and columns and rows exchanged when transposed.
struct TFrame {
    bool Transposed = false;
    bool Mirrored = false;
    int32_t ColOffset = 0;
    int32_t RowOffset = 0;
    int32_t Cols = 0;
    int32_t Rows = 0;

    TCell Actual(int32_t col, int32_t row) const
    {
        const int32_t c = ((Mirrored ? Cols - 1 - col : col) + ColOffset) % Cols;
        const int32_t r = (row + RowOffset) % Rows;
        return Transposed ? TCell {r, c} : TCell {c, r};
    }

    TSolverMove ActualMove(const TSolverMove& move) const
    {
        const TCell cell = Actual(move.IsColumn ? move.Line : 0, move.IsColumn ? 0 : move.Line);
        const int32_t col = Transposed ? cell.Row : cell.Col;
        const int32_t row = Transposed ? cell.Col : cell.Row;
        if (move.IsColumn)
            return {!Transposed, static_cast<int8_t>(col), move.Shift};
        const auto shift = static_cast<int8_t>(Mirrored ? -move.Shift : move.Shift);
        return {Transposed, static_cast<int8_t>(row), shift};
    }
};

// Tiles chosen for a phase's cells, and the bound of the phase with them.
struct TChoice {
    int32_t Bound = 0;
    std::vector<uint8_t> Tiles;
};

struct TCandidate {
    TFrame Frame;
    TClassBoard Board;
    TClassBoard Goal;
    // The number of the tile in each cell: the cell it started in.
    TClassBoard Tiles;
    std::array<int8_t, MaxSolverCells> HomeTile {};
    TMoveList Moves;
    int32_t Score = 0;
    // The candidate before its last two phases, shared by its siblings.
    std::shared_ptr<const TCandidate> BeforeLastTwo;
};

// The cells each phase adds: a 2 x 2 block, then (with three rows to build) the third row under
// it, then one column of the built rows after another.
std::vector<std::vector<TCell>> PhaseCells(int32_t cols, int32_t builtRows)
{
    std::vector<std::vector<TCell>> phases {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}};
    if (builtRows == 3)
        phases.push_back({{0, 2}, {1, 2}});
    for (int32_t col = 2; col < cols; ++col) {
        std::vector<TCell> column;
        column.reserve(static_cast<std::size_t>(builtRows));
        for (int32_t row = 0; row < builtRows; ++row)
            column.push_back({col, row});
        phases.push_back(column);
    }
    return phases;
}

// Nodes a run of searches may still visit, and those it visited.
struct TBudget {
    int64_t Left = 0;
    int64_t Used = 0;
};

// Runs work(index, budget) for indexes 0..count-1, dealt alternately to two threads where the
// machine has two cores, each thread with half the nodes and going through its indexes in order:
// what each finds does not depend on the other's speed. Returns the nodes used.
int64_t OnTwoThreads(
    std::size_t count, int64_t nodes, const std::function<void(std::size_t, TBudget&)>& work)
{
    std::array<TBudget, 2> budgets {TBudget {nodes / 2}, TBudget {nodes - nodes / 2}};
    const auto run = [&](std::size_t first) {
        for (std::size_t i = first; i < count; i += 2)
            work(i, budgets[first]);
    };
    if (count < 2 || std::thread::hardware_concurrency() < 2) {
        run(0);
        run(1);
    } else {
        std::exception_ptr failure;
        std::thread other([&] {
            try {
                run(1);
            } catch (...) {
                failure = std::current_exception();
            }
        });
        try {
            run(0);
        } catch (...) {
            other.join();
            throw;
        }
        other.join();
        if (failure)
            std::rethrow_exception(failure);
    }
    return budgets[0].Used + budgets[1].Used;
}

class TPhaseBuilder {
public:
    TPhaseBuilder(const TClassPair& pair, const std::atomic<bool>* cancel)
        : FPair(pair)
        , FCancel(cancel)
    {
    }

    std::optional<TMoveList> Run()
    {
        std::vector<TCandidate> beam = StartingCandidates();
        if (beam.empty())
            return std::nullopt;
        const int32_t frameCols = beam.front().Frame.Cols;
        const int32_t builtRows = beam.front().Frame.Rows - 2;
        const std::vector<std::vector<TCell>> phases = PhaseCells(frameCols, builtRows);
        // The threads share the tables, which are therefore asked for before they start.
        for (const TCandidate& candidate : beam)
            BlockTable(candidate.Frame.Cols, candidate.Frame.Rows);
        for (std::size_t phase = 0; phase < phases.size(); ++phase) {
            // Each phase may spend its share of what is left; the best candidates, which come
            // first, are grown while the share lasts.
            const int64_t share = FNodesLeft / static_cast<int64_t>(phases.size() - phase);
            std::vector<std::vector<TCandidate>> grown(beam.size());
            FNodesLeft -= OnTwoThreads(beam.size(), share, [&](std::size_t c, TBudget& budget) {
                grown[c] = Grow(beam[c], phases, phase, budget);
            });
            std::vector<TCandidate> next;
            for (std::vector<TCandidate>& children : grown)
                for (TCandidate& child : children)
                    next.push_back(std::move(child));
            // Where no candidate grew within the share, the best ones try again on the spare
            // budget, so that a hard board still finishes in phases.
            for (std::size_t c = 0; next.empty() && c < beam.size() && FSpareNodes > 0; ++c) {
                TBudget budget {std::min(FSpareNodes, SpareNodes / SpareTries)};
                next = Grow(beam[c], phases, phase, budget);
                FSpareNodes -= budget.Used;
                FNodesLeft -= budget.Used;
            }
            if (Cancelled())
                return std::nullopt;
            // The table's cost of the last rows decides between the final candidates.
            beam = Best(std::move(next), phase + 1 < phases.size() ? BeamWidth : FinalWidth);
        }
        if (builtRows == 3 && phases.size() >= 4)
            JoinLastTwo(beam, phases);
        std::vector<std::optional<TMoveList>> finishes(beam.size());
        OnTwoThreads(beam.size(), FinishNodes, [&](std::size_t c, TBudget& budget) {
            TCandidate& candidate = beam[c];
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

    // One candidate per frame whose built rows leave two rows the table can finish: their length
    // must be even where only one side of the board is.
    std::vector<TCandidate> StartingCandidates() const
    {
        const int32_t cols = FPair.Current.Cols;
        const int32_t rows = FPair.Current.Rows;
        std::vector<TCandidate> candidates;
        for (const bool transposed : {false, true}) {
            const int32_t frameCols = transposed ? rows : cols;
            const int32_t frameRows = transposed ? cols : rows;
            if (frameRows < 4 || (cols % 2 != rows % 2 && frameCols % 2 != 0))
                continue;
            for (int32_t rowOffset = 0; rowOffset < frameRows; ++rowOffset)
                for (int32_t colOffset = 0; colOffset < frameCols; ++colOffset)
                    for (const bool mirrored : {false, true}) {
                        TCandidate candidate;
                        candidate.Frame
                            = {transposed, mirrored, colOffset, rowOffset, frameCols, frameRows};
                        candidate.Board.Cols = candidate.Goal.Cols = frameCols;
                        candidate.Board.Rows = candidate.Goal.Rows = frameRows;
                        candidate.Tiles = candidate.Board;
                        for (int32_t r = 0; r < frameRows; ++r)
                            for (int32_t c = 0; c < frameCols; ++c) {
                                const TCell actual = candidate.Frame.Actual(c, r);
                                const int32_t cell = candidate.Board.Index(c, r);
                                candidate.Board.Cells[cell]
                                    = FPair.Current.At(actual.Col, actual.Row);
                                candidate.Goal.Cells[cell]
                                    = FPair.Target.At(actual.Col, actual.Row);
                                candidate.Tiles.Cells[cell] = static_cast<uint8_t>(cell);
                            }
                        candidate.HomeTile.fill(Unassigned);
                        candidates.push_back(candidate);
                    }
        }
        return candidates;
    }

    // The problem of bringing the placed tiles and the phase's cells home, with the tiles for
    // the new cells chosen among equal ones: the choices are listed by their bound, lowest
    // first, and the problem is set for the first. False when there is no choice (cannot happen
    // on boards that hold the target's tiles).
    bool Problem(const TCandidate& candidate, const std::vector<std::vector<TCell>>& phases,
        std::size_t phase, TPhaseProblem& problem, std::vector<TChoice>& choices) const
    {
        const TClassBoard& board = candidate.Board;
        std::array<uint8_t, MaxSolverCells> cellOfTile {};
        for (int32_t cell = 0; cell < board.Count(); ++cell)
            cellOfTile[candidate.Tiles.Cells[cell]] = static_cast<uint8_t>(cell);
        problem = {};
        problem.Cols = board.Cols;
        problem.Rows = board.Rows;
        std::array<int8_t, MaxSolverCells> trackedAt {};
        trackedAt.fill(Unassigned);
        std::array<bool, MaxSolverCells> taken {};
        const auto track = [&](int32_t goal, int32_t tile) {
            trackedAt[goal] = static_cast<int8_t>(problem.Cell.size());
            problem.Cell.push_back(cellOfTile[tile]);
            problem.Goal.push_back(static_cast<uint8_t>(goal));
        };
        for (int32_t goal = 0; goal < board.Count(); ++goal)
            if (candidate.HomeTile[goal] != Unassigned) {
                taken[candidate.HomeTile[goal]] = true;
                track(goal, candidate.HomeTile[goal]);
            }
        const std::size_t placed = problem.Cell.size();
        const std::vector<TCell>& cells = phases[phase];
        for (const TCell& cell : cells)
            track(board.Index(cell.Col, cell.Row), 0);
        AddPatterns(problem, trackedAt, board.Cols, board.Rows);

        // Each new cell takes one of the free tiles of its class.
        TChooser chooser {candidate, cells, problem, placed, cellOfTile, taken, choices,
            std::vector<uint8_t>(cells.size())};
        choices.clear();
        chooser.Choose(0);
        if (choices.empty())
            return false;
        std::stable_sort(choices.begin(), choices.end(),
            [](const TChoice& a, const TChoice& b) { return a.Bound < b.Bound; });
        SetChoice(problem, placed, cellOfTile, choices.front());
        return true;
    }

    // Lists the ways of choosing among equal tiles for the phase's cells, with their bounds.
    struct TChooser {
        const TCandidate& Candidate;
        const std::vector<TCell>& Cells;
        TPhaseProblem& Problem;
        std::size_t Placed;
        const std::array<uint8_t, MaxSolverCells>& CellOfTile;
        std::array<bool, MaxSolverCells>& Taken;
        std::vector<TChoice>& Choices;
        std::vector<uint8_t> Choice;
        int32_t Tried = 0;

        void Choose(std::size_t k)
        {
            if (Tried >= MaxAssignments)
                return;
            if (k == Cells.size()) {
                if (ForcedOdd(Candidate, Cells, Choice, Taken))
                    return;
                ++Tried;
                for (std::size_t i = 0; i < Cells.size(); ++i)
                    Problem.Cell[Placed + i] = CellOfTile[Choice[i]];
                Choices.push_back({PhaseBound(Problem), Choice});
                return;
            }
            const TClassBoard& board = Candidate.Board;
            const uint8_t wanted = Candidate.Goal.At(Cells[k].Col, Cells[k].Row);
            for (int32_t cell = 0; cell < board.Count(); ++cell) {
                const uint8_t tile = Candidate.Tiles.Cells[cell];
                if (Taken[tile] || board.Cells[cell] != wanted)
                    continue;
                Taken[tile] = true;
                Choice[k] = tile;
                Choose(k + 1);
                Taken[tile] = false;
            }
        }
    };

    static void SetChoice(TPhaseProblem& problem, std::size_t placed,
        const std::array<uint8_t, MaxSolverCells>& cellOfTile, const TChoice& choice)
    {
        for (std::size_t i = 0; i < choice.Tiles.size(); ++i)
            problem.Cell[placed + i] = cellOfTile[choice.Tiles[i]];
    }

    // Whether the choice leaves every other tile one cell to go to, in an odd arrangement: on a
    // board of odd lines every move is even, so that choice cannot finish.
    static bool ForcedOdd(const TCandidate& candidate, const std::vector<TCell>& cells,
        const std::vector<uint8_t>& choice, std::array<bool, MaxSolverCells> taken)
    {
        const TClassBoard& board = candidate.Board;
        if (board.Cols % 2 == 0 || board.Rows % 2 == 0)
            return false;
        for (const uint8_t tile : choice)
            taken[tile] = true;
        std::array<bool, MaxSolverCells> freeClass {};
        for (int32_t cell = 0; cell < board.Count(); ++cell) {
            if (taken[candidate.Tiles.Cells[cell]])
                continue;
            if (freeClass[board.Cells[cell]])
                return false;
            freeClass[board.Cells[cell]] = true;
        }
        // Each tile is marked by its goal cell; the forced arrangement's parity follows.
        TClassBoard marks = board;
        TClassBoard homes = board;
        std::array<int8_t, MaxSolverCells> homeTile = candidate.HomeTile;
        for (std::size_t i = 0; i < cells.size(); ++i)
            homeTile[board.Index(cells[i].Col, cells[i].Row)] = static_cast<int8_t>(choice[i]);
        std::array<int32_t, MaxSolverCells> goalOfTile {};
        for (int32_t goal = 0; goal < board.Count(); ++goal)
            if (homeTile[goal] != Unassigned)
                goalOfTile[homeTile[goal]] = goal;
        for (int32_t cell = 0; cell < board.Count(); ++cell) {
            const uint8_t tile = candidate.Tiles.Cells[cell];
            if (!taken[tile])
                for (int32_t goal = 0; goal < board.Count(); ++goal)
                    if (homeTile[goal] == Unassigned
                        && candidate.Goal.Cells[goal] == board.Cells[cell])
                        goalOfTile[tile] = goal;
            marks.Cells[cell] = static_cast<uint8_t>(goalOfTile[tile]);
            homes.Cells[cell] = static_cast<uint8_t>(cell);
        }
        return OddArrangement(marks, homes);
    }

    // Every 2 x 2 block of tracked cells bounds the search with its exact distance.
    void AddPatterns(TPhaseProblem& problem, const std::array<int8_t, MaxSolverCells>& trackedAt,
        int32_t cols, int32_t rows) const
    {
        const std::shared_ptr<const TPatternTable>& table = BlockTable(cols, rows);
        for (int32_t row = 0; row + 1 < rows; ++row)
            for (int32_t col = 0; col < cols; ++col) {
                const int32_t right = (col + 1) % cols;
                const std::array<int32_t, 4> cells {row * cols + col, row * cols + right,
                    (row + 1) * cols + col, (row + 1) * cols + right};
                if (std::any_of(cells.begin(), cells.end(),
                        [&](int32_t cell) { return trackedAt[cell] == Unassigned; }))
                    continue;
                TPhaseProblem::TPattern pattern;
                pattern.Table = table;
                for (const int32_t cell : cells)
                    pattern.Tiles.push_back(static_cast<uint8_t>(trackedAt[cell]));
                problem.Patterns.push_back(pattern);
            }
    }

    // The table of a 2 x 2 block for the frame's size, asked for once per orientation.
    const std::shared_ptr<const TPatternTable>& BlockTable(int32_t cols, int32_t rows) const
    {
        std::shared_ptr<const TPatternTable>& table
            = FBlockTables[cols == FPair.Current.Cols ? 0 : 1];
        if (!table)
            table = TPatternTable::ForShape(cols, rows, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
        return table;
    }

    std::vector<TCandidate> Grow(const TCandidate& candidate,
        const std::vector<std::vector<TCell>>& phases, std::size_t phase, TBudget& budget,
        int32_t maxMoves = TPhaseLimits {}.MaxMoves, int64_t searchNodes = PhaseNodes) const
    {
        TPhaseProblem problem;
        std::vector<TChoice> choices;
        if (!Problem(candidate, phases, phase, problem, choices))
            return {};
        std::array<uint8_t, MaxSolverCells> cellOfTile {};
        for (int32_t cell = 0; cell < candidate.Board.Count(); ++cell)
            cellOfTile[candidate.Tiles.Cells[cell]] = static_cast<uint8_t>(cell);
        const std::size_t placed = problem.Cell.size() - phases[phase].size();
        std::vector<TCandidate> children;
        for (std::size_t c = 0; c < choices.size() && c < ChoicesPerPhase; ++c) {
            SetChoice(problem, placed, cellOfTile, choices[c]);
            Solve(candidate, phases, phase, problem, choices[c].Tiles, children, budget, maxMoves,
                searchNodes);
        }
        return children;
    }

    void Solve(const TCandidate& candidate, const std::vector<std::vector<TCell>>& phases,
        std::size_t phase, const TPhaseProblem& problem, const std::vector<uint8_t>& chosen,
        std::vector<TCandidate>& children, TBudget& budget, int32_t maxMoves,
        int64_t searchNodes) const
    {
        TPhaseLimits limits;
        if (budget.Left <= 0)
            return;
        limits.MaxNodes = std::min(searchNodes, budget.Left);
        limits.MaxSolutions = SolutionsPerPhase;
        limits.Cancel = FCancel;
        limits.MaxMoves = maxMoves;
        const TPhaseResult result = SolvePhase(problem, limits);
        budget.Left -= result.Nodes;
        budget.Used += result.Nodes;
        std::shared_ptr<const TCandidate> before;
        if (phase + 2 == phases.size() && !result.Solutions.empty())
            before = std::make_shared<const TCandidate>(candidate);
        for (const TMoveList& moves : result.Solutions) {
            TCandidate child = candidate;
            if (before)
                child.BeforeLastTwo = before;
            child.Board.Apply(moves);
            child.Tiles.Apply(moves);
            child.Moves.insert(child.Moves.end(), moves.begin(), moves.end());
            for (std::size_t i = 0; i < chosen.size(); ++i) {
                const TCell& cell = phases[phase][i];
                child.HomeTile[child.Board.Index(cell.Col, cell.Row)]
                    = static_cast<int8_t>(chosen[i]);
            }
            child.Score = static_cast<int32_t>(
                OptimiseMoves(child.Moves, child.Board.Cols, child.Board.Rows).size());
            if (phase + 1 < phases.size()) {
                TPhaseProblem following;
                std::vector<TChoice> unused;
                if (!Problem(child, phases, phase + 1, following, unused))
                    continue;
                child.Score += PhaseBound(following);
            }
            children.push_back(std::move(child));
        }
    }

    // Two phases searched as one often need fewer moves than one after the other: the most
    // promising final candidates are searched again from before their last two phases, for
    // fewer moves than they took, and what is found joins them.
    void JoinLastTwo(std::vector<TCandidate>& beam, const std::vector<std::vector<TCell>>& phases)
    {
        std::vector<std::vector<TCell>> joined(phases.begin(), phases.end() - 1);
        joined.back().insert(joined.back().end(), phases.back().begin(), phases.back().end());
        // Each earlier candidate once, with the fewest moves its descendants took.
        std::vector<std::pair<const TCandidate*, int32_t>> searched;
        for (const TCandidate& candidate : beam) {
            const TCandidate* before = candidate.BeforeLastTwo.get();
            if (searched.size() == JoinedCandidates)
                break;
            if (before == nullptr
                || std::any_of(searched.begin(), searched.end(),
                    [&](const auto& other) { return other.first == before; }))
                continue;
            searched.emplace_back(
                before, static_cast<int32_t>(candidate.Moves.size() - before->Moves.size()));
        }
        std::vector<std::vector<TCandidate>> children(searched.size());
        OnTwoThreads(searched.size(), AllJoinNodes, [&](std::size_t c, TBudget& budget) {
            const auto& [before, taken] = searched[c];
            children[c] = Grow(*before, joined, joined.size() - 1, budget, taken - 1, JoinNodes);
        });
        for (std::vector<TCandidate>& found : children)
            for (TCandidate& child : found)
                beam.push_back(std::move(child));
        std::stable_sort(beam.begin(), beam.end(),
            [](const TCandidate& a, const TCandidate& b) { return a.Score < b.Score; });
    }

    static std::vector<TCandidate> Best(std::vector<TCandidate> candidates, std::size_t width)
    {
        std::stable_sort(candidates.begin(), candidates.end(),
            [](const TCandidate& a, const TCandidate& b) { return a.Score < b.Score; });
        std::vector<TCandidate> kept;
        for (TCandidate& candidate : candidates) {
            if (kept.size() == width)
                break;
            const bool twin = std::any_of(kept.begin(), kept.end(), [&](const TCandidate& k) {
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
    static bool FinishLastRows(TCandidate& candidate, int64_t& nodesLeft)
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
    int64_t FNodesLeft = BuildNodes;
    int64_t FSpareNodes = SpareNodes;
    mutable std::array<std::shared_ptr<const TPatternTable>, 2> FBlockTables;
};

} // namespace

std::optional<TMoveList> BuildInPhases(const TClassPair& pair, const std::atomic<bool>* cancel)
{
    return TPhaseBuilder(pair, cancel).Run();
}
