#include "solver/PhaseProblemMaker.h"

#include "solver/PhaseSearch.h"

#include <algorithm>

namespace {

// Ways of choosing among equal tiles for a phase's cells.
constexpr int32_t MaxAssignments = 32;

} // namespace

// Lists the ways of choosing among equal tiles for the phase's cells, with their bounds.
struct TPhaseProblemMaker::TChooser {
    const TPhaseCandidate& Candidate;
    const std::vector<TPhaseCell>& Cells;
    TPhaseProblem& Problem;
    std::size_t Placed;
    const std::array<uint8_t, MaxSolverCells>& CellOfTile;
    std::array<bool, MaxSolverCells>& Taken;
    std::vector<TPhaseChoice>& Choices;
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

bool TPhaseProblemMaker::Problem(const TPhaseCandidate& candidate,
    const std::vector<std::vector<TPhaseCell>>& phases, std::size_t phase, TPhaseProblem& problem,
    std::vector<TPhaseChoice>& choices) const
{
    const TClassBoard& board = candidate.Board;
    std::array<uint8_t, MaxSolverCells> cellOfTile {};
    for (int32_t cell = 0; cell < board.Count(); ++cell)
        cellOfTile[candidate.Tiles.Cells[cell]] = static_cast<uint8_t>(cell);
    problem = {};
    problem.Cols = board.Cols;
    problem.Rows = board.Rows;
    std::array<int8_t, MaxSolverCells> trackedAt {};
    trackedAt.fill(UnassignedTile);
    std::array<bool, MaxSolverCells> taken {};
    const auto track = [&](int32_t goal, int32_t tile) {
        trackedAt[goal] = static_cast<int8_t>(problem.Cell.size());
        problem.Cell.push_back(cellOfTile[tile]);
        problem.Goal.push_back(static_cast<uint8_t>(goal));
    };
    for (int32_t goal = 0; goal < board.Count(); ++goal)
        if (candidate.HomeTile[goal] != UnassignedTile) {
            taken[candidate.HomeTile[goal]] = true;
            track(goal, candidate.HomeTile[goal]);
        }
    const std::size_t placed = problem.Cell.size();
    const std::vector<TPhaseCell>& cells = phases[phase];
    for (const TPhaseCell& cell : cells)
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
        [](const TPhaseChoice& a, const TPhaseChoice& b) { return a.Bound < b.Bound; });
    SetChoice(problem, placed, cellOfTile, choices.front());
    return true;
}

void TPhaseProblemMaker::SetChoice(TPhaseProblem& problem, std::size_t placed,
    const std::array<uint8_t, MaxSolverCells>& cellOfTile, const TPhaseChoice& choice)
{
    for (std::size_t i = 0; i < choice.Tiles.size(); ++i)
        problem.Cell[placed + i] = cellOfTile[choice.Tiles[i]];
}

// Whether the choice leaves every other tile one cell to go to, in an odd arrangement: on a
// board of odd lines every move is even, so that choice cannot finish.
bool TPhaseProblemMaker::ForcedOdd(const TPhaseCandidate& candidate,
    const std::vector<TPhaseCell>& cells, const std::vector<uint8_t>& choice,
    std::array<bool, MaxSolverCells> taken)
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
        if (homeTile[goal] != UnassignedTile)
            goalOfTile[homeTile[goal]] = goal;
    for (int32_t cell = 0; cell < board.Count(); ++cell) {
        const uint8_t tile = candidate.Tiles.Cells[cell];
        if (!taken[tile])
            for (int32_t goal = 0; goal < board.Count(); ++goal)
                if (homeTile[goal] == UnassignedTile
                    && candidate.Goal.Cells[goal] == board.Cells[cell])
                    goalOfTile[tile] = goal;
        marks.Cells[cell] = static_cast<uint8_t>(goalOfTile[tile]);
        homes.Cells[cell] = static_cast<uint8_t>(cell);
    }
    return OddArrangement(marks, homes);
}

// Every 2 x 2 block of tracked cells, and every column shape, bounds the search with its exact
// distance.
void TPhaseProblemMaker::AddPatterns(TPhaseProblem& problem,
    const std::array<int8_t, MaxSolverCells>& trackedAt, int32_t cols, int32_t rows) const
{
    const TFrameTables& tables = Tables(cols, rows);
    const auto add = [&](const TPatternTable* table, const std::vector<int32_t>& cells) {
        if (std::any_of(cells.begin(), cells.end(),
                [&](int32_t cell) { return trackedAt[cell] == UnassignedTile; }))
            return;
        TPhaseProblem::TPattern pattern;
        pattern.Table = table;
        for (const int32_t cell : cells)
            pattern.Tiles.push_back(static_cast<uint8_t>(trackedAt[cell]));
        problem.Patterns.push_back(pattern);
    };
    for (int32_t row = 0; row + 1 < rows; ++row)
        for (int32_t col = 0; col < cols; ++col) {
            const int32_t right = (col + 1) % cols;
            add(tables.Block,
                {row * cols + col, row * cols + right, (row + 1) * cols + col,
                    (row + 1) * cols + right});
        }
    if (tables.Column == nullptr)
        return;
    for (int32_t col = 0; col < cols; ++col) {
        const int32_t left = (col + cols - 1) % cols;
        add(tables.Column, {col, cols + col, 2 * cols + col, left, cols + left});
    }
}

const TPatternTable::TOffsets& TPhaseProblemMaker::BlockShape()
{
    static const TPatternTable::TOffsets shape {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    return shape;
}

const TPatternTable::TOffsets& TPhaseProblemMaker::ColumnShape()
{
    static const TPatternTable::TOffsets shape {{0, 0}, {0, 1}, {0, 2}, {-1, 0}, {-1, 1}};
    return shape;
}

TPhaseProblemMaker::TFrameTables TPhaseProblemMaker::BuildTables(
    int32_t cols, int32_t rows, const std::atomic<bool>* cancel)
{
    TFrameTables tables;
    tables.Block = &TPatternTable::ForShape(cols, rows, BlockShape(), cancel);
    if (rows == ColumnTableRows)
        tables.Column = &TPatternTable::ForShape(cols, rows, ColumnShape(), cancel);
    return tables;
}

void TPhaseProblemMaker::PrepareTables(
    int32_t boardCols, int32_t boardRows, const std::atomic<bool>* cancel)
{
    // A frame's rows are the board's rows, or its columns where the frame is turned; only the
    // column shape's table takes long to build.
    if (boardRows == ColumnTableRows)
        BuildTables(boardCols, boardRows, cancel);
    if (boardCols == ColumnTableRows)
        BuildTables(boardRows, boardCols, cancel);
}

// The tables for the frame's size, asked for once per orientation.
const TPhaseProblemMaker::TFrameTables& TPhaseProblemMaker::Tables(
    int32_t cols, int32_t rows, const std::atomic<bool>* cancel) const
{
    TFrameTables& tables = FTables[cols == FBoardCols ? 0 : 1];
    if (tables.Block == nullptr)
        tables = BuildTables(cols, rows, cancel);
    return tables;
}
