#pragma once

#include <array>
#include <cstdint>
#include <vector>

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

template <typename TCells>
uint32_t RankPlacement(const TCells& cells, int32_t tiles, int32_t cellCount)
{
    uint32_t rank = 0;
    for (int32_t i = 0; i < tiles; ++i) {
        uint32_t free = cells[i];
        for (int32_t j = 0; j < i; ++j)
            free -= cells[j] < cells[i] ? 1 : 0;
        rank = rank * static_cast<uint32_t>(cellCount - i) + free;
    }
    return rank;
}

// Where many tiles lie among few cells, the cells taken below a tile's are counted from a mask of
// the cells taken, a step a tile rather than a step a pair.
constexpr int32_t MaskedPlacementCells = 12;

template <typename TCells>
uint32_t RankPlacementMasked(const TCells& cells, int32_t tiles, int32_t cellCount)
{
    static constexpr auto BitCounts = [] {
        std::array<uint8_t, 1u << MaskedPlacementCells> counts {};
        for (uint32_t mask = 1; mask < counts.size(); ++mask)
            counts[mask] = static_cast<uint8_t>(counts[mask / 2] + mask % 2);
        return counts;
    }();
    uint32_t rank = 0;
    uint32_t taken = 0;
    for (int32_t i = 0; i < tiles; ++i) {
        const uint32_t below = (1u << cells[i]) - 1;
        rank = rank * static_cast<uint32_t>(cellCount - i) + cells[i] - BitCounts[taken & below];
        taken |= 1u << cells[i];
    }
    return rank;
}

// The cells of the placement of this rank, for up to 32 cells.
template <typename TCells>
void UnrankPlacement(uint32_t rank, int32_t tiles, int32_t cellCount, TCells& cells)
{
    std::array<uint32_t, 32> digits {};
    for (int32_t i = tiles - 1; i >= 0; --i) {
        const auto base = static_cast<uint32_t>(cellCount - i);
        digits[i] = rank % base;
        rank /= base;
    }
    uint32_t free = cellCount == 32 ? ~0u : (1u << cellCount) - 1;
    for (int32_t i = 0; i < tiles; ++i) {
        uint32_t rest = free;
        for (uint32_t skip = digits[i]; skip > 0; --skip)
            rest &= rest - 1;
        cells[i] = static_cast<uint8_t>(__builtin_ctz(rest));
        free &= ~(1u << cells[i]);
    }
}

// The numbers of the placements of Tiles tiles that the moves lead a placement to, a lane per
// move, counted sixteen moves at once; a move of a line without a tile of the placement leads
// back to it.
template <int32_t Lanes, int32_t Tiles> class TMovedPlacements {
public:
    // Cells compare as signed bytes, which the baseline instruction set compares side by side.
    typedef int8_t TBytes __attribute__((vector_size(16)));
    typedef uint16_t TWords __attribute__((vector_size(32)));
    static constexpr int32_t Blocks = Lanes / 16;
    using TLanes = std::array<TBytes, Blocks>;

    // to[move][cell] is where the move takes the tile of the cell.
    template <typename TCellsAfter>
    TMovedPlacements(const std::vector<TCellsAfter>& to, int32_t cells)
        : FCells(cells)
        , FMoves(to.size())
        , FAfter(static_cast<std::size_t>(cells))
    {
        FGroupBase.fill(1);
        for (int32_t i = 0; i < Tiles; ++i)
            FGroupBase[i / GroupTiles] *= static_cast<uint32_t>(cells - i);
        for (int32_t cell = 0; cell < cells; ++cell)
            for (std::size_t move = 0; move < Lanes; ++move)
                FAfter[cell][move / 16][move % 16]
                    = static_cast<int8_t>(move < to.size() ? to[move][cell] : cell);
    }

    std::size_t operator()(uint32_t index, std::array<uint32_t, Lanes>& near) const
    {
        std::array<uint8_t, Tiles> cells {};
        UnrankPlacement(index, Tiles, FCells, cells);
        for (int32_t block = 0; block < Blocks; ++block) {
            std::array<TBytes, Tiles> moved {};
            std::array<TWords, Groups> group {};
            for (int32_t i = 0; i < Tiles; ++i) {
                moved[i] = FAfter[cells[i]][block];
                TBytes free = moved[i];
                for (int32_t j = 0; j < i; ++j)
                    free += moved[j] < moved[i];
                group[i / GroupTiles] = group[i / GroupTiles] * static_cast<uint16_t>(FCells - i)
                    + __builtin_convertvector(free, TWords);
            }
            for (std::size_t lane = 0; lane < 16 && block * 16 + lane < FMoves; ++lane) {
                uint32_t rank = group[0][lane];
                for (int32_t g = 1; g < Groups; ++g)
                    rank = rank * FGroupBase[g] + group[g][lane];
                near[block * 16 + lane] = rank;
            }
        }
        return FMoves;
    }

private:
    // The digits are counted side by side in sixteen bits, which hold the number of three
    // tiles' cells among up to 40.
    static constexpr int32_t GroupTiles = 3;
    static constexpr int32_t Groups = (Tiles + GroupTiles - 1) / GroupTiles;

    int32_t FCells;
    std::size_t FMoves;
    std::array<uint32_t, Groups> FGroupBase {};
    std::vector<TLanes> FAfter;
};
