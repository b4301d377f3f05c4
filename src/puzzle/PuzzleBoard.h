#pragma once

#include "common/Random.h"
#include "puzzle/RoadBoard.h"

#include <cstdint>
#include <optional>
#include <vector>

// Colour indices of arms lie in 0..NumColours-1.
constexpr int32_t NumColours = 1;
constexpr int32_t MinLines = 3;
constexpr int32_t MaxLines = StorageLines;
// Scramble steps of a game; also the count again when a step happens to leave the board solved.
constexpr int32_t ScrambleSteps = 10;
// Line rotations within one scramble step.
constexpr int32_t ScrambleRotations = 30;

// An arrow of the play board. Column arrows 1..Cols are the up arrows of columns 1..Cols and
// Cols+1..2*Cols their down arrows; row arrows likewise left, then right.
struct TArrow {
    bool IsColumn = false;
    int32_t Index = 0;
    friend bool operator==(const TArrow&, const TArrow&) = default;
};

// One cell of rotation of a column or row, as a scramble step turns them.
struct TLineMove {
    bool IsColumn = false;
    int32_t Line = 0;
    friend bool operator==(const TLineMove&, const TLineMove&) = default;
};

// The puzzle: a target picture of road tiles and the current board the player turns back into
// it, by rotating whole columns and rows with wrap-around. A plain value: copies are independent
// and compare equal while they show the same boards at the same size.
class TPuzzleBoard {
public:
    // The game always plays with NumColours; other counts (1 to 256) exercise the colour rules.
    explicit TPuzzleBoard(int32_t numColours = NumColours);

    TRoadBoard Current;
    TRoadBoard Target;

    int32_t Cols() const { return FCols; }
    int32_t Rows() const { return FRows; }
    // Counts outside MinLines..MaxLines are ignored.
    void SetCols(int32_t n);
    void SetRows(int32_t n);
    friend bool operator==(const TPuzzleBoard&, const TPuzzleBoard&) = default;

    // A new target with the current board equal to it.
    void NewPuzzle(TRandomSource& random);

    // One cell of rotation of a line of the current board; lines off the board are ignored.
    void ShiftColumnUp(int32_t col);
    void ShiftColumnDown(int32_t col);
    void ShiftRowLeft(int32_t row);
    void ShiftRowRight(int32_t row);
    bool IsArrow(bool isColumn, int32_t index) const;
    // The rotation the arrow stands for; an arrow that does not exist does nothing.
    void ApplyArrow(bool isColumn, int32_t index);
    // The board after the arrow's rotation; this one stays as it is.
    TPuzzleBoard Apply(TArrow arrow) const;

    // Cells off the board take no part in the game, so they count as solved.
    bool CellSolved(int32_t col, int32_t row) const;
    bool IsSolved() const;
    // Whether some rotations turn the current board into the target: it holds the target's tiles,
    // in an order that rotations can make.
    bool RotationsReachTarget() const;

    // The rotations of one scramble step, each cell of each in the order made; the game counts
    // the steps.
    std::vector<TLineMove> ScrambleStep(TRandomSource& random);

    // The arrow a typed character stands for: letters A to J for columns, digits for rows.
    std::optional<TArrow> ArrowForKey(char32_t key) const;

private:
    bool OnBoard(int32_t col, int32_t row) const;
    bool ArmsUniform() const;
    void LinkArms(TRandomSource& random, TRoadCell& a, uint8_t armA, TRoadCell& b, uint8_t armB);

    int32_t FNumColours;
    uint8_t FCols = MinLines;
    uint8_t FRows = MinLines;
};
