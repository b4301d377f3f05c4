#pragma once

#include "solver/Placement.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

constexpr int32_t PatternSide = 4;
constexpr int32_t PatternCells = PatternSide * PatternSide;
constexpr int32_t PatternTiles = 6;

// The number of a placement of tiles on the 4 x 4 board, as RankPlacement numbers them.
template <std::size_t Tiles> uint32_t RankCells(const std::array<uint8_t, Tiles>& cells)
{
    return RankPlacement(cells, static_cast<int32_t>(Tiles), PatternCells);
}

// The fewest moves of a 4 x 4 board that bring six chosen tiles home, whatever the other tiles
// do: the tiles whose homes form the block of three columns and two rows at the top left,
// cells 0, 1, 2, 4, 5 and 6 counted row by row. The distance of a real board to its target is
// never smaller. Every other placement of the block on the board is a turn, mirror or shift of
// this one and maps moves to moves, so the one table serves them all.
class TTilePatternTable {
public:
    // The table, read from the table file or else built on the first call (about 6 million
    // states, half a byte each, under a second); later calls, from any thread, share it. The build,
    // or the wait for another caller's, stops with TTableCancelled once cancel is set.
    static const TTilePatternTable& Shared(const std::atomic<bool>* cancel = nullptr);
    // Whether some call to Shared has finished building the table.
    static bool Built();

    // The pattern's home cells, in the order Distance takes the tiles.
    static const std::array<uint8_t, PatternTiles>& Homes();

    // cells[i] is where the tile of the i-th home stands; all six differ.
    int32_t Distance(const std::array<uint8_t, PatternTiles>& cells) const
    {
        return At(Rank(cells));
    }

    int32_t At(uint32_t index) const { return (FDistance[index / 2] >> (4 * (index % 2))) & 0xF; }

    // Asks for an entry ahead of its use, so that the waits for several overlap.
    void Prefetch(uint32_t index) const { __builtin_prefetch(&FDistance[index / 2]); }

    // The cells' number among all ways to place six tiles, as RankCells numbers them.
    static uint32_t Rank(const std::array<uint8_t, PatternTiles>& cells)
    {
        return RankCells(cells);
    }

private:
    explicit TTilePatternTable(const std::atomic<bool>* cancel);

    // Built here, or empty where the table comes from the table file.
    std::vector<uint8_t> FBuilt;
    std::span<const uint8_t> FDistance;
};
