#pragma once

#include "common/Random.h"
#include "puzzle/RoadBoard.h"

#include <cstdint>
#include <optional>

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

// Told where the play board's picture has to change; the game window does the drawing.
class TBoardObserver {
public:
    virtual ~TBoardObserver() = default;
    // A column or row of the current board turned by one cell, also within a scramble step.
    virtual void LineMoved(bool isColumn, int32_t line) = 0;
    // A scramble step has turned many lines: the whole current board is to be drawn and shown.
    virtual void BoardScrambled() = 0;
};

// The puzzle: a target picture of road tiles and the current board the player turns back into
// it, by rotating whole columns and rows with wrap-around.
class TPuzzleBoard {
public:
    // The source is not owned and must outlive the board. The game always plays with NumColours;
    // other counts (1 to 256) exercise the colour rules.
    explicit TPuzzleBoard(TRandomSource& random, int32_t numColours = NumColours);

    TRoadBoard Current;
    TRoadBoard Target;

    int32_t Cols() const { return FCols; }
    int32_t Rows() const { return FRows; }
    // Counts outside MinLines..MaxLines are ignored.
    void SetCols(int32_t n);
    void SetRows(int32_t n);
    void SetObserver(TBoardObserver* observer) { FObserver = observer; }

    // A new target with the current board equal to it.
    void NewPuzzle();

    // One cell of rotation of a line of the current board; lines off the board are ignored.
    void ShiftColumnUp(int32_t col);
    void ShiftColumnDown(int32_t col);
    void ShiftRowLeft(int32_t row);
    void ShiftRowRight(int32_t row);
    bool IsArrow(bool isColumn, int32_t index) const;
    // The rotation the arrow stands for; an arrow that does not exist does nothing.
    void ApplyArrow(bool isColumn, int32_t index);

    // Cells off the board take no part in the game, so they count as solved.
    bool CellSolved(int32_t col, int32_t row) const;
    bool IsSolved() const;

    // The rotations of one scramble step; the game counts the steps.
    void ScrambleStep();

    // The arrow a typed character stands for: letters A to J for columns, digits for rows.
    std::optional<TArrow> ArrowForKey(char32_t key) const;

private:
    bool OnBoard(int32_t col, int32_t row) const;
    bool ArmsUniform() const;
    void LinkArms(TRoadCell& a, uint8_t armA, TRoadCell& b, uint8_t armB);
    void LineMoved(bool isColumn, int32_t line);

    TRandomSource& FRandom;
    int32_t FNumColours;
    uint8_t FCols = MinLines;
    uint8_t FRows = MinLines;
    TBoardObserver* FObserver = nullptr;
};
