#pragma once

#include "puzzle/PuzzleBoard.h"

#include <array>
#include <cstdint>
#include <vector>

constexpr int32_t MaxSolverCells = MaxLines * MaxLines;

// One rotation of one line by one cell. Lines are counted from 0; Shift +1 turns a column up or
// a row left, -1 a column down or a row right.
struct TSolverMove {
    bool IsColumn = false;
    int8_t Line = 0;
    int8_t Shift = 1;
    TSolverMove Inverse() const { return {IsColumn, Line, static_cast<int8_t>(-Shift)}; }
    friend bool operator==(const TSolverMove&, const TSolverMove&) = default;
};

using TMoveList = std::vector<TSolverMove>;

// Whether a move is worth trying after the previous one (null at the start), the last of a run
// of `run` turns of its line. Sequences with a shorter or equal twin are skipped: a move undone
// at once, parallel lines out of order (they commute), and a line of this length turned more
// than half way round one way; an even half turn is taken forwards only.
// Inline: the move searches ask at every node.
inline bool WorthFollowing(
    const TSolverMove* previous, int32_t run, const TSolverMove& move, int32_t length)
{
    if (previous == nullptr || previous->IsColumn != move.IsColumn)
        return true;
    if (previous->Line != move.Line)
        return move.Line > previous->Line;
    return previous->Shift == move.Shift && 2 * (run + 1) <= (move.Shift > 0 ? length : length - 1);
}

// A board as the solver sees it: each cell holds the number of its tile's class, where tiles of
// one class are interchangeable because the solved test cannot tell them apart. Cells are
// stored row by row from the top left.
struct TClassBoard {
    int32_t Cols = MinLines;
    int32_t Rows = MinLines;
    std::array<uint8_t, MaxSolverCells> Cells {};

    int32_t Count() const { return Cols * Rows; }
    int32_t Index(int32_t col, int32_t row) const { return row * Cols + col; }
    uint8_t At(int32_t col, int32_t row) const { return Cells[Index(col, row)]; }
    int32_t LineLength(bool isColumn) const { return isColumn ? Rows : Cols; }
    int32_t LineCount(bool isColumn) const { return isColumn ? Cols : Rows; }

    void Apply(const TSolverMove& move);
    void Apply(const TMoveList& moves);
    friend bool operator==(const TClassBoard&, const TClassBoard&) = default;
};

// The current and target boards with a shared numbering of tile classes.
struct TClassPair {
    TClassBoard Current;
    TClassBoard Target;
    int32_t ClassCount = 0;
};

// Numbers the classes of both boards. Raises KelException when the size is outside the model's
// range or when the boards do not hold the same tiles, so that no rotation could match them.
TClassPair ClassifyBoards(
    const TRoadBoard& current, const TRoadBoard& target, int32_t cols, int32_t rows);

// Whether some class has two or more tiles, so that either parity of arrangement will do.
bool HasRepeatedClass(const TClassBoard& board);

// The parity of the permutation that takes the current board's tiles to the target's places
// when both hold distinct tiles: true when odd.
bool OddArrangement(const TClassBoard& current, const TClassBoard& target);

// The game's arrow for a move: column arrows 1..Cols up, then down; row arrows left, then right.
TArrow ArrowForMove(const TSolverMove& move, int32_t cols, int32_t rows);
