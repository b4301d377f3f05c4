#pragma once

#include "solver/SolverBoard.h"

#include <memory>
#include <vector>

// A lower bound on the column moves (or, across, the row moves) that a board still needs. Each
// column move passes exactly one tile from every row to its neighbour row, all the same way; a
// relaxed puzzle that tracks only how many tiles of each label every row holds, and lets each row
// pass any one of them, can be searched in full. Its distance to the target never exceeds the
// real number of column moves. Tiles are labelled by the first target row of their class; merging
// classes that way keeps the bound admissible and the relaxed puzzle small.
class TWalkingDistance {
public:
    // Null when the relaxed puzzle has more than maxStates arrangements. Tables are kept for
    // later boards with the same target counts (every board of distinct tiles of one size has
    // the same); the cache is shared between threads.
    static std::shared_ptr<const TWalkingDistance> Build(
        const TClassBoard& target, bool acrossRows, int32_t maxStates);

    int32_t Bound(const TClassBoard& board) const;

private:
    TWalkingDistance() = default;
    void ListLineCounts();
    void Search(const std::vector<uint8_t>& goal);

    bool FAcrossRows = false;
    int32_t FLines = 0;
    int32_t FLineLength = 0;
    std::array<uint8_t, MaxSolverCells> FLabel {};
    // What a tile of each class adds to the number of its line's counts.
    std::array<uint16_t, MaxSolverCells> FWeight {};
    // The line of each cell, counted across the rows or across the columns.
    std::array<uint8_t, MaxSolverCells> FLineOfCell {};
    // Every way for one line to hold FLineLength tiles of FLines labels, numbered; FNumber maps
    // the counts, read as digits, to that number.
    std::vector<std::array<uint8_t, MaxLines>> FLineCounts;
    std::vector<int32_t> FNumber;
    // The distance of every arrangement, numbered line by line from the line counts' numbers.
    std::shared_ptr<const std::vector<uint8_t>> FDistance;
};
