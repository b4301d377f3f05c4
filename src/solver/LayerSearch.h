#pragma once

#include "solver/BuiltOnce.h"
#include "solver/TwoThreads.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <optional>
#include <vector>

// What the pass at one depth does with an entry of a table.
enum class TLayerStep { Skip, Expand, ReachedUnmoved };

// Distances from home in half a byte a placement; 0xF while unreached. Entries are read and set
// while the other thread of a pass may set the other half of the byte.
class TNibbleTable {
public:
    static constexpr uint8_t Unreached = 0xF;
    static constexpr int32_t Deepest = Unreached - 1;
    static constexpr uint32_t PerByte = 2;

    explicit TNibbleTable(uint32_t states)
        : Bytes((states + 1) / 2, 0xFF)
    {
    }

    int32_t Level(uint32_t index) const
    {
        const uint8_t pair
            = std::atomic_ref<const uint8_t>(Bytes[index / 2]).load(std::memory_order_relaxed);
        return (pair >> (4 * (index % 2))) & 0xF;
    }
    TLayerStep Step(uint32_t index, int32_t depth, bool backwards) const
    {
        return Level(index) == (backwards ? Unreached : depth) ? TLayerStep::Expand
                                                               : TLayerStep::Skip;
    }
    // Sets an unreached entry; whether it was unreached. Two threads may set the same entry to
    // the same distance, and the two halves of a byte from either.
    bool Lower(uint32_t index, int32_t distance)
    {
        if (Level(index) != Unreached)
            return false;
        const auto keep
            = static_cast<uint8_t>(index % 2 == 0 ? 0xF0 | distance : 0x0F | distance << 4);
        const uint8_t before
            = std::atomic_ref<uint8_t>(Bytes[index / 2]).fetch_and(keep, std::memory_order_relaxed);
        return ((before >> (4 * (index % 2))) & 0xF) == Unreached;
    }
    void Prefetch(uint32_t index) const { __builtin_prefetch(&Bytes[index / 2]); }

    std::vector<uint8_t> Bytes;
};

// Distances in a byte a placement, over moves of different costs; 0xFF while unreached.
class TByteTable {
public:
    static constexpr uint8_t Unreached = 0xFF;
    static constexpr int32_t Deepest = Unreached - 1;
    static constexpr uint32_t PerByte = 1;

    explicit TByteTable(uint32_t states)
        : Bytes(states, Unreached)
    {
    }

    int32_t Level(uint32_t index) const
    {
        return std::atomic_ref<const uint8_t>(Bytes[index]).load(std::memory_order_relaxed);
    }
    TLayerStep Step(uint32_t index, int32_t depth, bool /*backwards*/) const
    {
        return Level(index) == depth ? TLayerStep::Expand : TLayerStep::Skip;
    }
    // Lowers the entry to the distance; whether it was unreached.
    bool Lower(uint32_t index, int32_t distance)
    {
        std::atomic_ref<uint8_t> entry(Bytes[index]);
        uint8_t before = entry.load(std::memory_order_relaxed);
        while (before > distance
            && !entry.compare_exchange_weak(
                before, static_cast<uint8_t>(distance), std::memory_order_relaxed)) { }
        return before == Unreached;
    }
    void Prefetch(uint32_t index) const { __builtin_prefetch(&Bytes[index]); }

    std::vector<uint8_t> Bytes;
};

// Breadth first from the placement `home` over all `states` placements of a table, a layer per
// pass over the entries: every move undoes with its inverse, of the same cost, so distances from
// home are distances to it. neighbours(index, near) lists the placements the moves lead to, in
// the order of `costs` (empty when every move costs one) and returns how many. Where every move
// costs one and the layer is larger than what is left unreached, each unreached placement looks
// for a neighbour in the layer instead, which settles most of them at the first few moves. Large
// tables share each pass between two threads, a half of the table each. Raises TTableCancelled
// once cancel is set. The table gives an entry's Level (more than any distance while unreached),
// the Step a pass takes at it, and Lower(entry, distance), which tells whether the entry was
// unreached; it holds distances up to Deepest, PerByte entries a byte.
template <std::size_t MaxMoves, typename TTable, typename TNeighbours>
void SearchByLayers(TTable& table, uint32_t states, uint32_t home,
    const std::vector<int32_t>& costs, const TNeighbours& neighbours,
    const std::atomic<bool>* cancel)
{
    // Placements between looks at the cancel flag: about a millisecond's work.
    constexpr uint32_t CancelCheckInterval = 1u << 16;
    // Smaller tables are not worth a second thread a pass.
    constexpr uint32_t SharedFrom = 1u << 16;
    // A placement whose neighbours' entries were asked for. It is settled once the next
    // placement has asked for its own, so that the waits for the entries overlap.
    struct TWaiting {
        uint32_t Index = 0;
        std::size_t Count = 0;
        std::array<uint32_t, MaxMoves> Near {};
    };
    const bool unitCost = costs.empty();
    table.Lower(home, 0);
    uint32_t layer = 1;
    uint32_t unreached = states - 1;
    int32_t farthest = 0;
    // Where moves cost more than one, a placement reached may still come nearer by a later layer.
    for (int32_t depth = 0;
         (unreached > 0 || !unitCost) && depth <= farthest && depth < TTable::Deepest; ++depth) {
        const int32_t next = depth + 1;
        const bool backwards = unitCost && unreached < layer;
        std::array<uint32_t, 2> reached {};
        std::array<int32_t, 2> deepest {farthest, farthest};
        const auto pass = [&](uint32_t from, uint32_t to, int32_t half) {
            const auto lower = [&](uint32_t entry, int32_t distance) {
                reached[half] += table.Lower(entry, distance) ? 1 : 0;
                deepest[half] = std::max(deepest[half], distance);
            };
            // Forwards, the neighbours of the layer that lie further join the next layers;
            // backwards, the unreached placements with a neighbour in the layer do.
            const auto settle = [&](const TWaiting& placement) {
                if (!backwards) {
                    for (std::size_t m = 0; m < placement.Count; ++m) {
                        const int32_t distance = depth + (unitCost ? 1 : costs[m]);
                        if (table.Level(placement.Near[m]) > distance)
                            lower(placement.Near[m], distance);
                    }
                } else if (std::any_of(placement.Near.begin(),
                               placement.Near.begin() + placement.Count,
                               [&](uint32_t entry) { return table.Level(entry) == depth; })) {
                    lower(placement.Index, next);
                }
            };
            std::optional<TWaiting> waiting;
            for (uint32_t index = from; index < to; ++index) {
                if (index % CancelCheckInterval == 0 && cancel != nullptr
                    && cancel->load(std::memory_order_relaxed))
                    return false;
                const TLayerStep step = table.Step(index, depth, backwards);
                if (step == TLayerStep::ReachedUnmoved) {
                    ++reached[half];
                    deepest[half] = next;
                }
                if (step != TLayerStep::Expand)
                    continue;
                TWaiting placement;
                placement.Index = index;
                placement.Count = neighbours(index, placement.Near);
                for (std::size_t m = 0; m < placement.Count; ++m)
                    table.Prefetch(placement.Near[m]);
                if (waiting)
                    settle(*waiting);
                waiting = placement;
            }
            if (waiting)
                settle(*waiting);
            return true;
        };
        // The halves split at a whole byte, so that a pass sets only bytes of its own half.
        const uint32_t middle = states / (2 * TTable::PerByte) * TTable::PerByte;
        std::array<bool, 2> finished {};
        if (states >= SharedFrom && TwoCores()) {
            BothAtOnce([&] { finished[0] = pass(0u, middle, 0); },
                [&] { finished[1] = pass(middle, states, 1); });
        } else {
            finished[0] = pass(0u, middle, 0);
            finished[1] = pass(middle, states, 1);
        }
        if (!finished[0] || !finished[1])
            throw TTableCancelled();
        layer = reached[0] + reached[1];
        unreached -= layer;
        farthest = std::max(deepest[0], deepest[1]);
    }
}
