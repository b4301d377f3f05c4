#pragma once

#include "solver/Placement.h"
#include "solver/SolverBoard.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

// Up to this many tiles are tracked by one table.
constexpr int32_t MaxPatternTiles = 5;

// The cell each move takes the tile of each cell to, for the 2 * (cols + rows) moves in the
// order columns (up, down for each), then rows (left, right for each).
struct TCellMoves {
    TCellMoves(int32_t cols, int32_t rows);

    // The moves of one board size, built when first asked for and kept; safe to call from
    // several threads.
    static const TCellMoves& ForSize(int32_t cols, int32_t rows);

    std::vector<TSolverMove> Moves;
    std::vector<std::array<uint8_t, MaxSolverCells>> To;
    // The cells of each move's line, one bit per cell.
    std::vector<uint32_t> LineMask;
};

// The fewest moves that bring a few tiles to their cells on a board of wrapping lines, whatever
// the other tiles do. Turning every line of one direction at once moves nothing relative to the
// lines, so the distance depends only on where the tiles lie relative to the first one's target:
// one table serves every translation of the same shape. Half a byte a placement: five tiles on a
// 5 x 5 board take 3.2 MB.
class TPatternTable {
public:
    using TOffsets = std::vector<std::pair<int8_t, int8_t>>;

    // The table for tiles whose targets lie at these offsets (column, row) from the first one's,
    // the first offset being (0, 0). Built when first asked for and kept for the life of the
    // program; safe to call from several threads. Five tiles on 5 x 5 take most of a second to
    // build: the build, or the wait for another caller's, stops with TTableCancelled once cancel
    // is set.
    static const TPatternTable& ForShape(int32_t cols, int32_t rows, const TOffsets& offsets,
        const std::atomic<bool>* cancel = nullptr);

    // The distance of the tiles at these cells, the first of which belongs at firstGoal.
    int32_t Distance(const std::array<uint8_t, MaxPatternTiles>& cells, int32_t firstGoal) const
    {
        std::array<uint8_t, MaxPatternTiles> relative {};
        for (int32_t i = 0; i < FTiles; ++i)
            relative[i] = FRelative[cells[i] * FCells + firstGoal];
        const uint32_t index = RankPlacement(relative, FTiles, FCells);
        return (FDistance[index / 2] >> (4 * (index % 2))) & 0xF;
    }

private:
    TPatternTable(
        int32_t cols, int32_t rows, const TOffsets& offsets, const std::atomic<bool>* cancel);

    int32_t FCells;
    int32_t FTiles;
    // The cell relative to the first tile's goal, for each cell and goal.
    std::array<uint8_t, MaxSolverCells * MaxSolverCells> FRelative {};
    std::vector<uint8_t> FDistance;
};
