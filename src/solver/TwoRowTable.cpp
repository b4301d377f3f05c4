#include "solver/TwoRowTable.h"

#include "solver/Deepening.h"
#include "solver/LayerSearch.h"
#include "solver/MoveOptimiser.h"
#include "solver/Placement.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace {

constexpr int32_t MacroRows = 3;
constexpr int32_t UpperRow = 1;
constexpr int32_t LowerRow = 2;
// Labellings of repeated classes tried; the first two already differ in parity, so both kinds
// are among them.
constexpr int32_t MaxLabellings = 200;
// Labellings searched whole, those with the lowest bounds.
constexpr std::size_t SearchedLabellings = 2;
// Macros of rows of five: turns of either row, and a row turned between one or two columns.
constexpr std::size_t MaxMacros = 4 + 4 * 5 * 2 + 10 * 4 * 2;
// The macros' lanes, sixteen at a time.
constexpr std::size_t MacroLanes = (MaxMacros + 15) / 16 * 16;
// Rows longer than this are solved in two stages.
constexpr int32_t OneStageLength = 4;

} // namespace

TMacroTable::TMacroTable(
    int32_t cells, int32_t tracked, std::vector<TMacro> macros, int32_t firstGoal)
    : FCells(cells)
    , FTracked(tracked)
    , FMacros(std::move(macros))
{
    static_assert(MaxTwoRowCells <= MaskedPlacementCells);
    for (const TMacro& macro : FMacros) {
        std::array<uint8_t, MaxTwoRowCells> to {};
        for (int32_t i = 0; i < FCells; ++i)
            to[macro.From[i]] = static_cast<uint8_t>(i);
        FTo.push_back(to);
    }
    if (FMacros.size() > MaxMacros)
        throw std::logic_error("TMacroTable: too many macros");
    std::vector<int32_t> costs;
    for (const TMacro& macro : FMacros)
        costs.push_back(macro.Cost);
    TPlaces solved {};
    for (int32_t i = 0; i < FTracked; ++i)
        solved[i] = static_cast<uint8_t>(firstGoal + i);
    const uint32_t states = PlacementCount(FCells, FTracked);
    TByteTable table(states);
    // The number of labels is a template argument so that their places are counted in registers,
    // sixteen macros at once.
    const auto search = [&]<int32_t Tracked>() {
        SearchByLayers<MacroLanes>(table, states, Rank(solved), costs,
            TMovedPlacements<MacroLanes, Tracked>(FTo, FCells), nullptr);
    };
    [&]<int32_t... Tracked>(std::integer_sequence<int32_t, Tracked...>)
    {
        ((FTracked == Tracked + 1 ? search.template operator()<Tracked + 1>() : void()), ...);
    }
    (std::make_integer_sequence<int32_t, MaxTwoRowCells> {});
    FDistance = std::move(table.Bytes);
}

uint32_t TMacroTable::Rank(const TPlaces& places) const
{
    return RankPlacementMasked(places, FTracked, FCells);
}

TMacroTable::TPlaces TMacroTable::Moved(const TPlaces& places, int32_t macro) const
{
    TPlaces moved {};
    for (int32_t i = 0; i < FTracked; ++i)
        moved[i] = FTo[macro][places[i]];
    return moved;
}

std::vector<int32_t> TMacroTable::Path(TPlaces places) const
{
    std::vector<int32_t> path;
    int32_t distance = Distance(places);
    if (distance == Unreachable)
        throw std::logic_error("TMacroTable: arrangement out of reach");
    while (distance > 0) {
        int32_t step = 0;
        while (step < static_cast<int32_t>(FMacros.size())
            && Distance(Moved(places, step)) + FMacros[step].Cost != distance)
            ++step;
        if (step == static_cast<int32_t>(FMacros.size()))
            throw std::logic_error("TMacroTable: no step towards the solved arrangement");
        places = Moved(places, step);
        distance -= FMacros[step].Cost;
        path.push_back(step);
    }
    return path;
}

const TTwoRowSolver& TTwoRowSolver::ForLength(int32_t length)
{
    static std::array<std::once_flag, MaxLines + 1> built;
    static std::array<std::unique_ptr<TTwoRowSolver>, MaxLines + 1> solvers;
    if (length < MinLines || length > MaxLines)
        throw std::logic_error("TTwoRowSolver: row length outside 3 to 5");
    std::call_once(built[length], [length] { solvers[length].reset(new TTwoRowSolver(length)); });
    return *solvers[length];
}

int32_t TTwoRowSolver::LeadingCells(int32_t length)
{
    return length <= OneStageLength ? 0 : length - 2;
}

TTwoRowSolver::TTwoRowSolver(int32_t length)
    : FLength(length)
{
    for (const int32_t row : {UpperRow, LowerRow})
        for (const int8_t shift : {int8_t {1}, int8_t {-1}})
            AddMacro({{false, static_cast<int8_t>(row), shift}});
    // A column moved down by one brings an upper tile into the lower row, which then turns; the
    // column moved back restores the rows in place. Upwards likewise with the upper row.
    for (int32_t col = 0; col < length; ++col)
        for (int32_t turn = 1; turn < length; ++turn)
            for (const bool down : {true, false}) {
                const TSolverMove column {
                    true, static_cast<int8_t>(col), static_cast<int8_t>(down ? -1 : 1)};
                TMoveList moves {column};
                AppendLineTurn(moves, false, down ? LowerRow : UpperRow, turn, 0, length);
                moves.push_back(column.Inverse());
                AddMacro(moves);
            }
    // Two columns moved together trade two tiles for the cost of one row turn.
    for (int32_t first = 0; first < length; ++first)
        for (int32_t second = first + 1; second < length; ++second)
            for (int32_t turn = 1; turn < length; ++turn)
                for (const bool down : {true, false}) {
                    const auto shift = static_cast<int8_t>(down ? -1 : 1);
                    const TSolverMove a {true, static_cast<int8_t>(first), shift};
                    const TSolverMove b {true, static_cast<int8_t>(second), shift};
                    TMoveList moves {a, b};
                    AppendLineTurn(moves, false, down ? LowerRow : UpperRow, turn, 0, length);
                    moves.push_back(a.Inverse());
                    moves.push_back(b.Inverse());
                    AddMacro(moves);
                }

    if (length <= OneStageLength) {
        AddStage(0, 2 * length);
    } else {
        AddStage(0, LeadingCells(length));
        AddStage(LeadingCells(length), length + 2);
        for (const int32_t firstGoal : {0, length})
            FHalves.emplace_back(2 * length, length, FMacros, firstGoal);
    }
    for (const TMacroTable::TMacro& macro : FMacros) {
        int32_t inverse = 0;
        while (inverse < static_cast<int32_t>(FMacros.size())
            && !std::all_of(macro.From.begin(), macro.From.begin() + 2 * length,
                [&, cell = 0](
                    uint8_t from) mutable { return FMacros[inverse].From[from] == cell++; }))
            ++inverse;
        FInverse.push_back(inverse);
    }
}

// Records which cell each cell of the two rows takes its tile from, after checking on a board of
// distinct tiles that the row in place comes back unchanged.
void TTwoRowSolver::AddMacro(const TMoveList& moves)
{
    TClassBoard board;
    board.Cols = FLength;
    board.Rows = MacroRows;
    for (int32_t i = 0; i < board.Count(); ++i)
        board.Cells[i] = static_cast<uint8_t>(i);
    board.Apply(moves);
    TMacroTable::TMacro macro;
    macro.Cost = static_cast<int32_t>(moves.size());
    for (int32_t i = 0; i < board.Count(); ++i) {
        const int32_t from = board.Cells[i] - FLength;
        if (i < FLength ? board.Cells[i] != i : from < 0)
            throw std::logic_error("TTwoRowSolver: a macro disturbs the rows in place");
        if (i >= FLength)
            macro.From[i - FLength] = static_cast<uint8_t>(from);
    }
    FMacros.push_back(macro);
    FMacroMoves.push_back(moves);
}

// A stage works on the cells from firstCell on, with the macros that leave the cells before it
// alone, and brings the first `tracked` of its cells' tiles home.
void TTwoRowSolver::AddStage(int32_t firstCell, int32_t tracked)
{
    TStage stage;
    for (int32_t cell = firstCell; cell < 2 * FLength; ++cell)
        stage.Cells.push_back(static_cast<uint8_t>(cell));
    const auto cells = static_cast<int32_t>(stage.Cells.size());
    std::vector<TMacroTable::TMacro> macros;
    for (int32_t m = 0; m < static_cast<int32_t>(FMacros.size()); ++m) {
        bool keeps = true;
        for (int32_t cell = 0; cell < firstCell; ++cell)
            keeps = keeps && FMacros[m].From[cell] == cell;
        if (!keeps)
            continue;
        TMacroTable::TMacro local;
        local.Cost = FMacros[m].Cost;
        for (int32_t i = 0; i < cells; ++i)
            local.From[i] = static_cast<uint8_t>(FMacros[m].From[firstCell + i] - firstCell);
        macros.push_back(local);
        stage.Macros.push_back(m);
    }
    stage.Table.emplace(cells, tracked, std::move(macros));
    FStages.push_back(std::move(stage));
}

TTwoRowLabels TTwoRowSolver::AfterMacro(const TTwoRowLabels& labels, int32_t macro) const
{
    TTwoRowLabels next = labels;
    for (int32_t cell = 0; cell < 2 * FLength; ++cell)
        next[cell] = labels[FMacros[macro].From[cell]];
    return next;
}

// Rows 1 and 2 of the macro are the board's last two rows.
void TTwoRowSolver::AppendMacro(TMoveList& moves, int32_t macro, int32_t rows) const
{
    for (TSolverMove move : FMacroMoves[macro]) {
        if (!move.IsColumn)
            move.Line = static_cast<int8_t>(move.Line + rows - MacroRows);
        moves.push_back(move);
    }
}

bool TTwoRowSolver::Run(TTwoRowLabels& labels, int32_t& cost, TMoveList* moves, int32_t rows) const
{
    cost = 0;
    for (const TStage& stage : FStages) {
        const int32_t first = stage.Cells.front();
        TMacroTable::TPlaces places {};
        for (int32_t i = 0; i < static_cast<int32_t>(stage.Cells.size()); ++i) {
            if (labels[first + i] < first)
                throw std::logic_error("TTwoRowSolver: a tile left home in an earlier stage");
            places[labels[first + i] - first] = static_cast<uint8_t>(i);
        }
        if (stage.Table->Distance(places) == TMacroTable::Unreachable)
            return false;
        for (const int32_t step : stage.Table->Path(places)) {
            const int32_t macro = stage.Macros[step];
            labels = AfterMacro(labels, macro);
            cost += FMacros[macro].Cost;
            if (moves == nullptr)
                continue;
            AppendMacro(*moves, macro, rows);
        }
    }
    return true;
}

std::optional<int32_t> TTwoRowSolver::Cost(const TTwoRowLabels& labels) const
{
    TTwoRowLabels copy = labels;
    int32_t cost = 0;
    if (!Run(copy, cost, nullptr, MacroRows))
        return std::nullopt;
    return cost;
}

TMoveList TTwoRowSolver::Solve(TTwoRowLabels labels, int32_t rows) const
{
    TMoveList moves;
    int32_t cost = 0;
    if (!Run(labels, cost, &moves, rows))
        throw std::logic_error("TTwoRowSolver: arrangement out of reach");
    return moves;
}

// Iterative deepening on the cost, bounded by the dearer row's own cost: the cheapest macros
// for one row's labels alone, whatever the other row's do.
struct TTwoRowSolver::TWholeSearch {
    TWholeSearch(const TTwoRowSolver& solver, int64_t maxNodes)
        : Solver(solver)
        , MaxNodes(maxNodes)
    {
    }

    const TTwoRowSolver& Solver;
    int64_t MaxNodes;
    int64_t Nodes = 0;
    std::vector<int32_t> Path;
    int32_t Next = 0;

    int32_t Bound(const TTwoRowLabels& labels) const
    {
        const int32_t length = Solver.FLength;
        std::array<TMacroTable::TPlaces, 2> places {};
        for (int32_t cell = 0; cell < 2 * length; ++cell) {
            const int32_t half = labels[cell] < length ? 0 : 1;
            places[half][labels[cell] - half * length] = static_cast<uint8_t>(cell);
        }
        return std::max(
            Solver.FHalves[0].Distance(places[0]), Solver.FHalves[1].Distance(places[1]));
    }

    // True when found; Nodes past MaxNodes stops the search.
    bool Search(const TTwoRowLabels& labels, int32_t cost, int32_t limit, int32_t last)
    {
        const int32_t bound = Bound(labels);
        if (bound == 0)
            return true;
        if (cost + bound > limit) {
            Next = std::min(Next, cost + bound);
            return false;
        }
        if (++Nodes > MaxNodes)
            return false;
        for (int32_t m = 0; m < static_cast<int32_t>(Solver.FMacros.size()); ++m) {
            if (last >= 0 && Solver.FInverse[last] == m)
                continue;
            Path.push_back(m);
            if (Search(Solver.AfterMacro(labels, m), cost + Solver.FMacros[m].Cost, limit, m))
                return true;
            Path.pop_back();
            if (Nodes > MaxNodes)
                return false;
        }
        return false;
    }
};

int32_t TTwoRowSolver::WholeBound(const TTwoRowLabels& labels) const
{
    return TWholeSearch(*this, 0).Bound(labels);
}

std::optional<TMoveList> TTwoRowSolver::SolveWhole(
    const TTwoRowLabels& labels, int32_t rows, int64_t& nodesLeft, int32_t below) const
{
    TWholeSearch search(*this, nodesLeft);
    TDeepening step = TDeepening::Deeper;
    if (search.Bound(labels) < below)
        step = Deepen(search.Bound(labels), below, [&](int32_t limit) {
            search.Next = std::numeric_limits<int32_t>::max();
            if (search.Search(labels, 0, limit, -1))
                return TIteration {TDeepening::Found};
            return search.Nodes > nodesLeft ? TIteration {TDeepening::Stopped}
                                            : TIteration {TDeepening::Deeper, search.Next};
        }).first;
    nodesLeft -= std::min(search.Nodes, nodesLeft);
    if (step != TDeepening::Found)
        return std::nullopt;
    TMoveList moves;
    for (const int32_t macro : search.Path)
        AppendMacro(moves, macro, rows);
    return moves;
}

namespace {

// The ways, up to MaxLabellings, to tell equal tiles of the last two rows apart.
std::vector<TTwoRowLabels> Labellings(
    const TClassBoard& board, const std::function<bool(int32_t cell, int32_t home)>& belongs)
{
    const int32_t cells = 2 * board.Cols;
    const int32_t first = board.Index(0, board.Rows - 2);
    std::vector<TTwoRowLabels> labellings;
    TTwoRowLabels labels {};
    std::array<bool, MaxTwoRowCells> used {};
    std::function<void(int32_t)> label = [&](int32_t cell) {
        if (labellings.size() >= static_cast<std::size_t>(MaxLabellings))
            return;
        if (cell == cells) {
            labellings.push_back(labels);
            return;
        }
        for (int32_t home = 0; home < cells; ++home)
            if (!used[home] && belongs(first + cell, first + home)) {
                used[home] = true;
                labels[cell] = static_cast<uint8_t>(home);
                label(cell + 1);
                used[home] = false;
            }
    };
    label(0);
    return labellings;
}

// The labellings the stages can finish, each with the moves the stages need.
std::vector<std::pair<int32_t, TTwoRowLabels>> StagedCosts(const TTwoRowSolver& solver,
    const TClassBoard& board, const std::function<bool(int32_t cell, int32_t home)>& belongs)
{
    std::vector<std::pair<int32_t, TTwoRowLabels>> costed;
    for (const TTwoRowLabels& labels : Labellings(board, belongs))
        if (const std::optional<int32_t> cost = solver.Cost(labels))
            costed.emplace_back(*cost, labels);
    return costed;
}

// The first of the labellings that cost least.
std::optional<TTwoRowLabels> Cheapest(const std::vector<std::pair<int32_t, TTwoRowLabels>>& costed)
{
    const auto cheapest = std::min_element(costed.begin(), costed.end(),
        [](const auto& a, const auto& b) { return a.first < b.first; });
    if (cheapest == costed.end())
        return std::nullopt;
    return cheapest->second;
}

} // namespace

std::optional<TMoveList> FinishTwoRows(const TClassBoard& board, const TClassBoard& goal)
{
    return FinishTwoRows(
        board, [&](int32_t cell, int32_t home) { return board.Cells[cell] == goal.Cells[home]; });
}

std::optional<TMoveList> FinishTwoRows(
    const TClassBoard& board, const std::function<bool(int32_t cell, int32_t home)>& belongs)
{
    const TTwoRowSolver& solver = TTwoRowSolver::ForLength(board.Cols);
    const std::optional<TTwoRowLabels> cheapest = Cheapest(StagedCosts(solver, board, belongs));
    if (!cheapest)
        return std::nullopt;
    return solver.Solve(*cheapest, board.Rows);
}

std::optional<TMoveList> FinishTwoRowsSearched(
    const TClassBoard& board, const TClassBoard& goal, int64_t& nodesLeft)
{
    const TTwoRowSolver& solver = TTwoRowSolver::ForLength(board.Cols);
    std::vector<std::pair<int32_t, TTwoRowLabels>> costed = StagedCosts(solver, board,
        [&](int32_t cell, int32_t home) { return board.Cells[cell] == goal.Cells[home]; });
    const std::optional<TTwoRowLabels> cheapest = Cheapest(costed);
    if (!cheapest)
        return std::nullopt;
    std::optional<TMoveList> best = solver.Solve(*cheapest, board.Rows);
    if (!solver.SearchesWhole())
        return best;
    // Only labellings the stages can finish are in reach of the search, the lowest bounds first.
    for (auto& [bound, labels] : costed)
        bound = solver.WholeBound(labels);
    std::stable_sort(costed.begin(), costed.end(),
        [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < costed.size() && i < SearchedLabellings; ++i) {
        std::optional<TMoveList> moves = solver.SolveWhole(
            costed[i].second, board.Rows, nodesLeft, static_cast<int32_t>(best->size()));
        if (moves)
            best = std::move(moves);
    }
    return best;
}
