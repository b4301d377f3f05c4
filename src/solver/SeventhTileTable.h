#pragma once

#include "solver/TilePatternTable.h"

#include <atomic>
#include <cstdint>
#include <vector>

// The moves the seventh tile of the top row, home cell 3, adds to the six of the block of
// TTilePatternTable: the fewest moves that bring all seven home, less the fewest for the six.
// The seven fill the top row and three cells of the next, and as every placement of the block
// extends to two of these shapes, one either side, they serve twice as many placements. The
// extra moves are 0 to 3 for all but a few hundred placements, whose larger ones are cut to 3:
// two bits an entry keep the table at 14.4 MB, and the sum a lower bound.
class TSeventhTileTable {
public:
    static constexpr uint8_t Home = 3;
    // The cells the six leave free, where the seventh may stand.
    static constexpr uint32_t FreeCells = PatternCells - PatternTiles;
    static constexpr int32_t MostExtra = 3;

    // The table, built on the first call (about 58 million placements, a few seconds on two
    // threads); later calls, from any thread, share it. The build stops with
    // TTableCancelled once cancel is set, as does the wait for another caller's. It builds the
    // six-tile table first.
    static const TSeventhTileTable& Shared(const std::atomic<bool>* cancel = nullptr);
    static bool Built();

    // The six tiles' entry in TTilePatternTable and the seventh's cell counted among the cells
    // the six leave free, as RankCells numbers the seven.
    static uint32_t Entry(uint32_t sixEntry, uint32_t free) { return sixEntry * FreeCells + free; }

    int32_t Extra(uint32_t entry) const { return (FExtra[entry / 4] >> (2 * (entry % 4))) & 3; }
    void Prefetch(uint32_t entry) const { __builtin_prefetch(&FExtra[entry / 4]); }

private:
    explicit TSeventhTileTable(const std::atomic<bool>* cancel);

    std::vector<uint8_t> FExtra;
};
