#pragma once

#include "common/KelRect.h"
#include "puzzle/PuzzleBoard.h"

#include <cstdint>
#include <optional>

// Both board surfaces, and the paint boxes that show them, are this many pixels square.
constexpr uint16_t BoardSurfaceSize = 208;
constexpr int32_t CellPitch = 32;
constexpr int32_t ArrowSize = 20;
// Palette indices of the grid and border lines, and of the edge lines of the raised and flat
// drawings.
constexpr uint8_t GridLineIndex = 242;
constexpr uint8_t EdgeLineIndex = 118;

// Where a board of a given size lies on its surface: the framed grid is centred on pixel 104,
// with the arrows in the margins around it.
struct TBoardLayout {
    int32_t Cols = MinLines;
    int32_t Rows = MinLines;

    static TBoardLayout Of(const TPuzzleBoard& board) { return {board.Cols(), board.Rows()}; }

    static int32_t Origin(int32_t lines) { return 25 + 16 * (MaxLines - lines); }
    int32_t OriginX() const { return Origin(Cols); }
    int32_t OriginY() const { return Origin(Rows); }
    // Top-left pixel of cell (col, row), both counted from 1.
    TPoint CellTopLeft(int32_t col, int32_t row) const
    {
        return {OriginX() + CellPitch * (col - 1), OriginY() + CellPitch * (row - 1)};
    }

    // The 20 x 20 rectangle of an arrow: up arrows above the columns, down arrows below, left
    // arrows before the rows and right arrows after them.
    TRect ArrowRect(bool isColumn, int32_t index) const;
    // The arrow whose rectangle holds the point, if any; the gaps between arrows hit nothing.
    std::optional<TArrow> ArrowAt(int32_t x, int32_t y) const;
    // The part of the board that a move of the arrow slides: its column or row of cells
    // without the grid line beside it, which stays still.
    TRect MovingStrip(const TArrow& arrow) const;
};
