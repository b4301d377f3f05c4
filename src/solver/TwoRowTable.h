#pragma once

#include "solver/SolverBoard.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

constexpr int32_t MaxTwoRowCells = 2 * MaxLines;

// Arrangements of tiles in the last two rows of a board whose other rows are in place: for each
// cell (0..L-1 the upper row, L..2L-1 the lower) the cell its tile belongs in.
using TTwoRowLabels = std::array<uint8_t, MaxTwoRowCells>;

// Distances over the arrangements of some cells, in moves of a set of macros, from a complete
// breadth-first search by cost, numbered as RankPlacement numbers them. Only where the first
// `Tracked` labels lie counts.
class TMacroTable {
public:
    static constexpr uint8_t Unreachable = 0xFF;

    struct TMacro {
        // The cell each cell takes its tile from.
        std::array<uint8_t, MaxTwoRowCells> From {};
        int32_t Cost = 0;
    };
    // Where each tracked label lies.
    using TPlaces = std::array<uint8_t, MaxTwoRowCells>;

    // The tracked labels belong in the cells from `firstGoal` on.
    TMacroTable(int32_t cells, int32_t tracked, std::vector<TMacro> macros, int32_t firstGoal = 0);

    uint8_t Distance(const TPlaces& places) const { return FDistance[Rank(places)]; }
    // The macros that bring every tracked label home, in order; the places must be reachable.
    std::vector<int32_t> Path(TPlaces places) const;

private:
    uint32_t Rank(const TPlaces& places) const;
    TPlaces Moved(const TPlaces& places, int32_t macro) const;

    int32_t FCells;
    int32_t FTracked;
    std::vector<TMacro> FMacros;
    // Where each macro takes the tile of each cell.
    std::vector<std::array<uint8_t, MaxTwoRowCells>> FTo;
    std::vector<uint8_t> FDistance;
};

// Solves the last two rows with moves that keep the other rows in place: turns of either row,
// and a row turned between one or two columns moved by one cell and moved back, which trades
// one or two tiles between the two rows. Rows of 3 or 4 are solved with one table of all
// arrangements; rows of 5 first bring the first three upper tiles home and then finish the other
// seven with the macros that leave those alone, which keeps both tables small (720 and 5,040
// entries), or are searched whole, bounded by a table of each row's labels alone (30,240 entries
// each).
class TTwoRowSolver {
public:
    // Safe to call from several threads; the tables are built once, when first needed.
    static const TTwoRowSolver& ForLength(int32_t length);

    // The number of moves the labels need; nullopt when they are out of reach.
    std::optional<int32_t> Cost(const TTwoRowLabels& labels) const;
    // The moves on a board of `rows` rows whose last two rows these are.
    TMoveList Solve(TTwoRowLabels labels, int32_t rows) const;

    // Rows long enough to be solved in stages can also be searched whole, with every macro,
    // for the cheapest macros that finish them: nullopt when none cost less than `below`, or
    // when the search runs out of its `nodesLeft` (lowered by the arrangements it visited).
    bool SearchesWhole() const { return !FHalves.empty(); }
    // A lower bound of the whole search's cost.
    int32_t WholeBound(const TTwoRowLabels& labels) const;
    std::optional<TMoveList> SolveWhole(
        const TTwoRowLabels& labels, int32_t rows, int64_t& nodesLeft, int32_t below) const;

private:
    struct TStage {
        // The row cell of each of the stage's cells; the stage's labels are the same cells.
        std::vector<uint8_t> Cells;
        std::vector<int32_t> Macros;
        std::optional<TMacroTable> Table;
    };

    // The cells of the upper row, from the first, that the first stage brings home: none where
    // one table solves the rows at once.
    static int32_t LeadingCells(int32_t length);

    explicit TTwoRowSolver(int32_t length);
    void AddMacro(const TMoveList& moves);
    void AddStage(int32_t firstCell, int32_t tracked);
    // Runs the stages on the labels; false when some stage cannot finish.
    bool Run(TTwoRowLabels& labels, int32_t& cost, TMoveList* moves, int32_t rows) const;
    TTwoRowLabels AfterMacro(const TTwoRowLabels& labels, int32_t macro) const;
    // The moves of the macro on a board of `rows` rows whose last two rows it turns.
    void AppendMacro(TMoveList& moves, int32_t macro, int32_t rows) const;

    struct TWholeSearch;

    int32_t FLength;
    std::vector<TMacroTable::TMacro> FMacros;
    // Each macro's inverse.
    std::vector<int32_t> FInverse;
    // The cheapest macros for the labels of either row alone, over all macros.
    std::vector<TMacroTable> FHalves;
    std::vector<TMoveList> FMacroMoves;
    std::vector<TStage> FStages;
};

// The moves that finish the last two rows of a board whose other rows match the goal, with the
// cheapest of the ways to tell equal tiles there apart; nullopt when none is in reach.
std::optional<TMoveList> FinishTwoRows(const TClassBoard& board, const TClassBoard& goal);
// The same, with `belongs(cell, home)` telling whether the tile now at cell may go to home.
std::optional<TMoveList> FinishTwoRows(
    const TClassBoard& board, const std::function<bool(int32_t cell, int32_t home)>& belongs);
// The first, where the rows are long enough to be solved in stages, improved by searching the
// rows whole for the labellings of the lowest bounds, for any cost below the stages'; the
// search visits at most `nodesLeft` arrangements and lowers it by those it visited.
std::optional<TMoveList> FinishTwoRowsSearched(
    const TClassBoard& board, const TClassBoard& goal, int64_t& nodesLeft);
