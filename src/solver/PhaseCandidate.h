#pragma once

#include "solver/SolverBoard.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Marks a goal cell for which no tile is chosen yet.
constexpr int8_t UnassignedTile = -1;

// A cell of a frame.
struct TPhaseCell {
    int32_t Col = 0;
    int32_t Row = 0;
};

// How the builder's view maps onto the board: rows counted from `RowOffset`, columns from
// `ColOffset` (backwards when mirrored), and columns and rows exchanged when transposed.
struct TPhaseFrame {
    bool Transposed = false;
    bool Mirrored = false;
    int32_t ColOffset = 0;
    int32_t RowOffset = 0;
    int32_t Cols = 0;
    int32_t Rows = 0;

    TPhaseCell Actual(int32_t col, int32_t row) const
    {
        const int32_t c = ((Mirrored ? Cols - 1 - col : col) + ColOffset) % Cols;
        const int32_t r = (row + RowOffset) % Rows;
        return Transposed ? TPhaseCell {r, c} : TPhaseCell {c, r};
    }

    TSolverMove ActualMove(const TSolverMove& move) const
    {
        const TPhaseCell cell
            = Actual(move.IsColumn ? move.Line : 0, move.IsColumn ? 0 : move.Line);
        const int32_t col = Transposed ? cell.Row : cell.Col;
        const int32_t row = Transposed ? cell.Col : cell.Row;
        if (move.IsColumn)
            return {!Transposed, static_cast<int8_t>(col), move.Shift};
        const auto shift = static_cast<int8_t>(Mirrored ? -move.Shift : move.Shift);
        return {Transposed, static_cast<int8_t>(row), shift};
    }
};

// A build in progress, seen in its frame.
struct TPhaseCandidate {
    TPhaseFrame Frame;
    TClassBoard Board;
    TClassBoard Goal;
    // The number of the tile in each cell: the cell it started in.
    TClassBoard Tiles;
    std::array<int8_t, MaxSolverCells> HomeTile {};
    TMoveList Moves;
    int32_t Score = 0;
    // The candidate this one grew from, shared by its siblings.
    std::shared_ptr<const TPhaseCandidate> Parent;
};

// The cells each phase adds: a 2 x 2 block, then (with three rows to build) the third row under
// it, then one column of the built rows after another.
std::vector<std::vector<TPhaseCell>> PhaseCells(int32_t cols, int32_t builtRows);

// One candidate per frame whose built rows leave two rows the table can finish: their length
// must be even where only one side of the board is.
std::vector<TPhaseCandidate> StartingCandidates(const TClassPair& pair);
