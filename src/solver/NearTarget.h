#pragma once

#include "solver/SolverBoard.h"

#include <cstdint>
#include <vector>

// Every 4 x 4 board within a few moves of a target, with its distance, from a breadth-first
// search out of the target. Where a board has many equal tiles, the bounds over tile classes
// are weakest close to the target: a board the search reaches with few moves left is looked up
// here instead, and one that is not here is farther than the radius.
class TNearTarget {
public:
    TNearTarget(const TClassBoard& target, int32_t radius);

    int32_t Radius() const { return FRadius; }
    // The board's distance to the target, or Radius() + 1 when it is farther.
    int32_t Distance(const TClassBoard& board) const;

private:
    // Each cell's class as four bits, the first cell lowest: classes of a 4 x 4 board number
    // at most 16.
    static uint64_t Key(const TClassBoard& board);
    static uint64_t Moved(uint64_t key, bool isColumn, int32_t line, int32_t shift);
    std::size_t Slot(uint64_t key) const;
    // False when the key was already there.
    bool Insert(uint64_t key, uint8_t distance);

    int32_t FRadius;
    int32_t FSlotBits;
    std::vector<uint64_t> FKeys;
    // The distance of the key in each slot; Empty where none is.
    std::vector<uint8_t> FDistances;
};
