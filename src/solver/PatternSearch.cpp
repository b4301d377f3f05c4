#include "solver/PatternSearch.h"

#include "solver/BuiltOnce.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace {

constexpr int32_t Moves = 4 * PatternSide;
// Placements between looks at the cancel flag: about a millisecond's work.
constexpr uint32_t CancelCheckInterval = 1u << 16;

using TLanes = uint8_t __attribute__((vector_size(Moves)));
using TLongs = uint32_t __attribute__((vector_size(4 * Moves)));

// Where a tile on each cell goes with each move, a lane per move: columns up, columns down, rows
// left, rows right.
std::array<TLanes, PatternCells> CellsAfterMoves()
{
    std::array<TLanes, PatternCells> after {};
    for (int32_t move = 0; move < Moves; ++move) {
        const int32_t line = move % PatternSide;
        const bool isColumn = move < 2 * PatternSide;
        const int32_t shift = (move / PatternSide) % 2 == 0 ? 1 : -1;
        for (int32_t cell = 0; cell < PatternCells; ++cell) {
            int32_t row = cell / PatternSide;
            int32_t col = cell % PatternSide;
            if (isColumn && col == line)
                row = (row - shift + PatternSide) % PatternSide;
            if (!isColumn && row == line)
                col = (col - shift + PatternSide) % PatternSide;
            after[cell][move] = static_cast<uint8_t>(row * PatternSide + col);
        }
    }
    return after;
}

// The numbers of the placements every move leads to, side by side, as RankCells counts them; a
// move of a line without a tile of the pattern leads back to the placement itself.
template <std::size_t Tiles>
void RanksAfterMoves(const std::array<TLanes, PatternCells>& after,
    const std::array<uint8_t, Tiles>& cells, std::array<uint32_t, Moves>& ranks)
{
    std::array<TLanes, Tiles> moved {};
    TLongs index {};
    for (std::size_t i = 0; i < Tiles; ++i) {
        moved[i] = after[cells[i]];
        TLanes free = moved[i];
        for (std::size_t j = 0; j < i; ++j)
            free += reinterpret_cast<TLanes>(moved[j] < moved[i]);
        index = index * static_cast<uint32_t>(PatternCells - static_cast<int32_t>(i))
            + __builtin_convertvector(free, TLongs);
    }
    for (int32_t move = 0; move < Moves; ++move)
        ranks[move] = index[move];
}

// A placement whose neighbours' entries were asked for. It is settled once the next placement
// has asked for its own, so that the waits for the entries overlap.
struct TWaiting {
    uint32_t Index = 0;
    std::array<uint32_t, Moves> Near {};
};

bool Stopped(uint32_t index, const std::atomic<bool>* cancel)
{
    return index % CancelCheckInterval == 0 && cancel != nullptr
        && cancel->load(std::memory_order_relaxed);
}

// Runs pass(from, to, half) over the two halves of the placements, at once where the machine
// has two cores. The halves split at a multiple of perByte, so that a pass that writes only in
// its own half writes bytes of its own. A pass returns false when it saw the cancel flag set,
// which raises TTableCancelled once both have ended.
template <typename TPass> void OverHalves(uint32_t states, uint32_t perByte, const TPass& pass)
{
    const uint32_t middle = states / (2 * perByte) * perByte;
    std::array<bool, 2> finished {};
    const auto half = [&](int32_t which) {
        finished[which] = which == 0 ? pass(0u, middle, 0) : pass(middle, states, 1);
    };
    if (TwoCores()) {
        BothAtOnce([&] { half(0); }, [&] { half(1); });
    } else {
        half(0);
        half(1);
    }
    if (!finished[0] || !finished[1])
        throw TTableCancelled();
}

} // namespace

template <int32_t Tiles>
typename TPatternSearch<Tiles>::TCells TPatternSearch<Tiles>::Unrank(uint32_t index)
{
    std::array<uint32_t, Tiles> digits {};
    for (int32_t i = Tiles - 1; i >= 0; --i) {
        const auto base = static_cast<uint32_t>(PatternCells - i);
        digits[i] = index % base;
        index /= base;
    }
    TCells cells {};
    uint32_t free = (1u << PatternCells) - 1;
    for (int32_t i = 0; i < Tiles; ++i) {
        uint32_t rest = free;
        for (uint32_t skip = digits[i]; skip > 0; --skip)
            rest &= rest - 1;
        cells[i] = static_cast<uint8_t>(__builtin_ctz(rest));
        free &= ~(1u << cells[i]);
    }
    return cells;
}

template <int32_t Tiles>
std::vector<uint8_t> TPatternSearch<Tiles>::Search(
    const TCells& homes, const std::atomic<bool>* cancel)
{
    constexpr uint32_t states = States();
    std::vector<uint8_t> table((states + 1) / 2, 0xFF);
    const auto after = CellsAfterMoves();
    Reach(table, RankCells(homes), 0);
    uint32_t layer = 1;
    uint32_t unreached = states - 1;
    for (uint8_t depth = 0; layer > 0 && depth + 1 < Unreached; ++depth) {
        const auto next = static_cast<uint8_t>(depth + 1);
        const bool backwards = unreached < layer;
        std::array<uint32_t, 2> reached {};
        OverHalves(states, 2, [&](uint32_t from, uint32_t to, int32_t half) {
            uint32_t& count = reached[half];
            // Forwards, the unreached neighbours of the layer join the next one; backwards, the
            // unreached placements with a neighbour in the layer do.
            const auto settle = [&](const TWaiting& placement) {
                if (!backwards) {
                    for (const uint32_t entry : placement.Near)
                        count += Reach(table, entry, next) ? 1 : 0;
                } else if (std::any_of(placement.Near.begin(), placement.Near.end(),
                               [&](uint32_t entry) { return Nibble(table, entry) == depth; })) {
                    count += Reach(table, placement.Index, next) ? 1 : 0;
                }
            };
            std::optional<TWaiting> waiting;
            for (uint32_t index = from; index < to; ++index) {
                if (Stopped(index, cancel))
                    return false;
                if (Nibble(table, index) != (backwards ? Unreached : depth))
                    continue;
                TWaiting placement {index, {}};
                RanksAfterMoves(after, Unrank(index), placement.Near);
                for (const uint32_t entry : placement.Near)
                    __builtin_prefetch(&table[entry / 2]);
                if (waiting)
                    settle(*waiting);
                waiting = placement;
            }
            if (waiting)
                settle(*waiting);
            return true;
        });
        layer = reached[0] + reached[1];
        unreached -= layer;
    }
    return table;
}

template <int32_t Tiles>
std::vector<uint8_t> TPatternSearch<Tiles>::SearchExtra(
    const TCells& homes, const TTilePatternTable& fewer, const std::atomic<bool>* cancel)
{
    constexpr uint32_t states = States();
    constexpr auto lastCells = static_cast<uint32_t>(PatternCells - Tiles + 1);
    // Every entry starts at MostExtra: placements not yet reached lie further than the search.
    std::vector<uint8_t> table((states + 3) / 4, 0xFF);
    const auto after = CellsAfterMoves();
    const auto fewest = [&](uint32_t index) { return fewer.At(index / lastCells); };
    const auto level = [&](uint32_t index) { return fewest(index) + Quarter(table, index); };
    ReachExtra(table, RankCells(homes), 0);
    uint32_t layer = 1;
    uint32_t unreached = states - 1;
    // Past the farthest of fewer's distances and MostExtra every placement is reached.
    for (int32_t depth = 0; unreached > 0 && depth <= Unreached + MostExtra; ++depth) {
        const int32_t next = depth + 1;
        const bool backwards = unreached < layer;
        std::array<uint32_t, 2> reached {};
        OverHalves(states, 4, [&](uint32_t from, uint32_t to, int32_t half) {
            uint32_t& count = reached[half];
            // An unreached placement joins the next layer at its distance less fewer's, which
            // is below MostExtra: at MostExtra it joins it without a neighbour.
            const auto join = [&](uint32_t entry, int32_t lower) {
                count += ReachExtra(table, entry, static_cast<uint8_t>(next - lower)) ? 1 : 0;
            };
            const auto settle = [&](const TWaiting& placement) {
                if (!backwards) {
                    for (const uint32_t entry : placement.Near) {
                        const int32_t lower = fewest(entry);
                        if (lower + MostExtra > next && Quarter(table, entry) == MostExtra)
                            join(entry, lower);
                    }
                } else if (std::any_of(placement.Near.begin(), placement.Near.end(),
                               [&](uint32_t entry) { return level(entry) == depth; })) {
                    join(placement.Index, fewest(placement.Index));
                }
            };
            std::optional<TWaiting> waiting;
            for (uint32_t index = from; index < to; ++index) {
                if (Stopped(index, cancel))
                    return false;
                const int32_t lower = fewest(index);
                const int32_t extra = Quarter(table, index);
                if (extra == MostExtra && lower + MostExtra == next) {
                    ++count;
                    continue;
                }
                const bool open = extra == MostExtra && lower + MostExtra > next && lower <= next;
                if (backwards ? !open : lower + extra != depth)
                    continue;
                TWaiting placement {index, {}};
                RanksAfterMoves(after, Unrank(index), placement.Near);
                for (const uint32_t entry : placement.Near) {
                    __builtin_prefetch(&table[entry / 4]);
                    fewer.Prefetch(entry / lastCells);
                }
                if (waiting)
                    settle(*waiting);
                waiting = placement;
            }
            if (waiting)
                settle(*waiting);
            return true;
        });
        layer = reached[0] + reached[1];
        unreached -= layer;
    }
    return table;
}

template class TPatternSearch<PatternTiles>;
template class TPatternSearch<PatternTiles + 1>;
