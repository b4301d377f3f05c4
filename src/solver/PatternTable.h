#pragma once

#include "solver/Placement.h"
#include "solver/SolverBoard.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
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
// one table serves every translation of the same shape. Half a byte an entry: five tiles on a
// 5 x 5 board take 4.9 MB.
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

    // The distances of every placement of the tiles, as RankPlacement numbers them, half a byte
    // each (0xF where unreached), from a search of the whole table. Raises TTableCancelled once
    // cancel is set.
    static std::vector<uint8_t> SearchPlacements(
        int32_t cols, int32_t rows, const TOffsets& offsets, const std::atomic<bool>* cancel);

    // A distance is read at the sum of one term per tile: Term(tile, cell of the tile, cell
    // where the first tile belongs). A sum is cheaper at every node of a search than the number
    // of a placement, which the table is searched and kept in: the search's table is spread out
    // over every way to put each tile on any cell, at half as much memory again.
    uint32_t Term(int32_t tile, int32_t cell, int32_t firstGoal) const
    {
        return FRelative[cell * FCells + firstGoal] * FWeight[tile];
    }
    int32_t At(uint32_t index) const { return (FDistance[index / 2] >> (4 * (index % 2))) & 0xF; }

private:
    TPatternTable(
        int32_t cols, int32_t rows, const TOffsets& offsets, const std::atomic<bool>* cancel);

    int32_t FCells;
    int32_t FTiles;
    // Spreads the distances of every placement over the index the terms add up to.
    void Spread(std::span<const uint8_t> byPlacement);

    // The cell relative to the first tile's goal, for each cell and goal; each tile's weight in
    // the index.
    std::array<uint8_t, MaxSolverCells * MaxSolverCells> FRelative {};
    std::array<uint32_t, MaxPatternTiles> FWeight {};
    std::vector<uint8_t> FDistance;
};
