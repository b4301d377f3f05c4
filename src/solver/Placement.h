#pragma once

#include <array>
#include <cstdint>

// The numbering of placements of labelled tiles on distinct cells that every table of the solver
// uses: each tile's cell counts among the cells still free, as digits of falling bases cells,
// cells - 1, ... Plain comparisons count the cells taken before, which is cheaper than a bit
// count on processors of any age.

inline uint32_t PlacementCount(int32_t cells, int32_t tiles)
{
    uint32_t count = 1;
    for (int32_t i = 0; i < tiles; ++i)
        count *= static_cast<uint32_t>(cells - i);
    return count;
}

template <typename TCells> uint32_t RankPlacement(const TCells& cells, int32_t tiles, int32_t count)
{
    uint32_t rank = 0;
    for (int32_t i = 0; i < tiles; ++i) {
        uint32_t free = cells[i];
        for (int32_t j = 0; j < i; ++j)
            free -= cells[j] < cells[i] ? 1 : 0;
        rank = rank * static_cast<uint32_t>(count - i) + free;
    }
    return rank;
}

// The cells of the placement of this rank, for up to 32 cells.
template <typename TCells>
void UnrankPlacement(uint32_t rank, int32_t tiles, int32_t count, TCells& cells)
{
    std::array<uint32_t, 32> digits {};
    for (int32_t i = tiles - 1; i >= 0; --i) {
        const auto base = static_cast<uint32_t>(count - i);
        digits[i] = rank % base;
        rank /= base;
    }
    uint32_t free = count == 32 ? ~0u : (1u << count) - 1;
    for (int32_t i = 0; i < tiles; ++i) {
        uint32_t rest = free;
        for (uint32_t skip = digits[i]; skip > 0; --skip)
            rest &= rest - 1;
        cells[i] = static_cast<uint8_t>(__builtin_ctz(rest));
        free &= ~(1u << cells[i]);
    }
}
