#pragma once

#include "solver/PatternTable.h"
#include "solver/PhaseCandidate.h"
#include "solver/PhaseSearch.h"

#include <array>
#include <atomic>
#include <vector>

// Tiles chosen for a phase's cells, and the bound of the phase with them.
struct TPhaseChoice {
    int32_t Bound = 0;
    std::vector<uint8_t> Tiles;
};

// Sets up the search of a candidate's phase: the tiles to bring to their cells, chosen among
// equal ones, and the tables that bound the search: those of 2 x 2 blocks, and on frames of five
// rows, which build three, that of a column's three upper cells with the two left of its upper
// two.
class TPhaseProblemMaker {
public:
    // The board's own number of columns tells a frame's orientation.
    explicit TPhaseProblemMaker(int32_t boardCols)
        : FBoardCols(boardCols)
    {
    }

    // Frames of this many rows build three rows before the last two, in columns of three cells.
    static constexpr int32_t ColumnTableRows = 5;
    // The shapes of the tables: a 2 x 2 block, and a column's three upper cells with the two
    // left of its upper two.
    static const TPatternTable::TOffsets& BlockShape();
    static const TPatternTable::TOffsets& ColumnShape();

    // Asks for the tables of frames of this size now, so that threads may share them later.
    // Raises TTableCancelled when cancelled while a table is built.
    void Prepare(int32_t cols, int32_t rows, const std::atomic<bool>* cancel) const
    {
        Tables(cols, rows, cancel);
    }
    // Builds the tables that take long, of the frames a board of this size has, ahead of its
    // first solve.
    static void PrepareTables(
        int32_t boardCols, int32_t boardRows, const std::atomic<bool>* cancel);

    // The problem of bringing the placed tiles and the phase's cells home, with the tiles for
    // the new cells chosen among equal ones: the choices are listed by their bound, lowest
    // first, and the problem is set for the first. False when there is no choice (cannot happen
    // on boards that hold the target's tiles).
    bool Problem(const TPhaseCandidate& candidate,
        const std::vector<std::vector<TPhaseCell>>& phases, std::size_t phase,
        TPhaseProblem& problem, std::vector<TPhaseChoice>& choices) const;
    static void SetChoice(TPhaseProblem& problem, std::size_t placed,
        const std::array<uint8_t, MaxSolverCells>& cellOfTile, const TPhaseChoice& choice);

private:
    struct TChooser;

    static bool ForcedOdd(const TPhaseCandidate& candidate, const std::vector<TPhaseCell>& cells,
        const std::vector<uint8_t>& choice, std::array<bool, MaxSolverCells> taken);
    struct TFrameTables {
        const TPatternTable* Block = nullptr;
        // Null on frames of other than five rows.
        const TPatternTable* Column = nullptr;
    };

    void AddPatterns(TPhaseProblem& problem, const std::array<int8_t, MaxSolverCells>& trackedAt,
        int32_t cols, int32_t rows) const;
    static TFrameTables BuildTables(int32_t cols, int32_t rows, const std::atomic<bool>* cancel);
    const TFrameTables& Tables(
        int32_t cols, int32_t rows, const std::atomic<bool>* cancel = nullptr) const;

    int32_t FBoardCols;
    mutable std::array<TFrameTables, 2> FTables;
};
