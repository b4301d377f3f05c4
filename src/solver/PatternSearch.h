#pragma once

#include "solver/TilePatternTable.h"
#include "solver/TwoThreads.h"

#include <atomic>
#include <cstdint>
#include <vector>

// The fewest moves that bring a few chosen tiles of a 4 x 4 board home, whatever the other tiles
// do, for every way to place them: half a byte per placement, numbered as RankCells numbers them.
// Shared by the pattern tables of six and of seven tiles.
template <int32_t Tiles> class TPatternSearch {
public:
    using TCells = std::array<uint8_t, Tiles>;
    static constexpr uint8_t Unreached = 0xF;

    static constexpr uint32_t States()
    {
        uint32_t states = 1;
        for (int32_t i = 0; i < Tiles; ++i)
            states *= static_cast<uint32_t>(PatternCells - i);
        return states;
    }

    // Read while the other thread of the search may set the other half of the byte.
    static uint8_t Nibble(std::vector<uint8_t>& table, uint32_t index)
    {
        const uint8_t pair
            = std::atomic_ref<uint8_t>(table[index / 2]).load(std::memory_order_relaxed);
        return (pair >> (4 * (index % 2))) & 0xF;
    }

    // Breadth first from the tiles at home, a layer per pass over the table: every move undoes
    // with its inverse, so distances from home are distances to it. Once the layer is larger
    // than what is left unreached, each unreached placement looks for a neighbour in the layer
    // instead, which settles most of them at the first few moves. Each pass is shared by two
    // threads, a half of the table each. Raises TTableCancelled once cancel is set.
    static std::vector<uint8_t> Search(const TCells& homes, const std::atomic<bool>* cancel);

    // The moves the last tile adds to the fewest that bring the others home, which fewer gives
    // at the others' number (the index less its last digit), cut to MostExtra: a quarter of a
    // byte per placement, the same breadth first search in the table it returns. The distance
    // cut to fewer's plus MostExtra is itself a distance, in which every placement also lies
    // that far from home directly; so a placement's entry and fewer's tell whether the search
    // has reached it, and the exact distance wherever it has.
    static constexpr int32_t MostExtra = 3;
    static std::vector<uint8_t> SearchExtra(
        const TCells& homes, const TTilePatternTable& fewer, const std::atomic<bool>* cancel);
    static uint8_t Quarter(std::vector<uint8_t>& table, uint32_t index)
    {
        const uint8_t four
            = std::atomic_ref<uint8_t>(table[index / 4]).load(std::memory_order_relaxed);
        return (four >> (2 * (index % 4))) & 3;
    }

private:
    static TCells Unrank(uint32_t index);
    // Sets an unreached entry; whether it was unreached. Two threads may set the same entry to
    // the same distance, and the two halves of a byte from either.
    static bool Reach(std::vector<uint8_t>& table, uint32_t index, uint8_t distance)
    {
        if (Nibble(table, index) != Unreached)
            return false;
        const auto keep
            = static_cast<uint8_t>(index % 2 == 0 ? 0xF0 | distance : 0x0F | distance << 4);
        const uint8_t before
            = std::atomic_ref<uint8_t>(table[index / 2]).fetch_and(keep, std::memory_order_relaxed);
        return ((before >> (4 * (index % 2))) & 0xF) == Unreached;
    }
    // Lowers an entry of SearchExtra's table from MostExtra; whether it was MostExtra.
    static bool ReachExtra(std::vector<uint8_t>& table, uint32_t index, uint8_t extra)
    {
        const auto keep = static_cast<uint8_t>(~((MostExtra - extra) << (2 * (index % 4))));
        const uint8_t before
            = std::atomic_ref<uint8_t>(table[index / 4]).fetch_and(keep, std::memory_order_relaxed);
        return ((before >> (2 * (index % 4))) & 3) == MostExtra;
    }
};

extern template class TPatternSearch<PatternTiles>;
extern template class TPatternSearch<PatternTiles + 1>;
