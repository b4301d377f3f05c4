#include "solver/NearTarget.h"

#include "solver/TilePatternTable.h"

namespace {

constexpr uint8_t Empty = 0xFF;
constexpr int32_t BitsPerCell = 4;
constexpr uint64_t CellMask = 0xF;
constexpr uint64_t RowMask = 0xFFFF;
constexpr int32_t RowBits = PatternSide * BitsPerCell;
constexpr int32_t Moves = 2 * 2 * PatternSide;

// Enough slots to keep the table at most half full: the first move reaches 16 boards and each
// later one at most 15 new ones per board, as one move only takes the last one back.
int32_t SlotBitsFor(int32_t radius)
{
    std::size_t boards = 1;
    std::size_t atDistance = Moves;
    for (int32_t distance = 1; distance <= radius; ++distance) {
        boards += atDistance;
        atDistance *= Moves - 1;
    }
    int32_t bits = 1;
    while ((std::size_t {1} << bits) < 2 * boards)
        ++bits;
    return bits;
}

} // namespace

TNearTarget::TNearTarget(const TClassBoard& target, int32_t radius)
    : FRadius(radius)
    , FSlotBits(SlotBitsFor(radius))
    , FKeys(std::size_t {1} << FSlotBits)
    , FDistances(FKeys.size(), Empty)
{
    std::vector<uint64_t> frontier {Key(target)};
    Insert(frontier.front(), 0);
    for (int32_t distance = 1; distance <= radius; ++distance) {
        std::vector<uint64_t> next;
        for (const uint64_t key : frontier)
            for (const bool isColumn : {true, false})
                for (int32_t line = 0; line < PatternSide; ++line)
                    for (const int32_t shift : {1, -1}) {
                        const uint64_t moved = Moved(key, isColumn, line, shift);
                        if (Insert(moved, static_cast<uint8_t>(distance)))
                            next.push_back(moved);
                    }
        frontier = std::move(next);
    }
}

int32_t TNearTarget::Distance(const TClassBoard& board) const
{
    const uint64_t key = Key(board);
    for (std::size_t slot = Slot(key);; slot = (slot + 1) % FKeys.size()) {
        if (FDistances[slot] == Empty)
            return FRadius + 1;
        if (FKeys[slot] == key)
            return FDistances[slot];
    }
}

uint64_t TNearTarget::Key(const TClassBoard& board)
{
    uint64_t key = 0;
    for (int32_t cell = 0; cell < PatternCells; ++cell)
        key |= static_cast<uint64_t>(board.Cells[cell]) << (BitsPerCell * cell);
    return key;
}

// The same turn as TClassBoard::Apply: shift +1 takes each cell's tile from the next cell.
uint64_t TNearTarget::Moved(uint64_t key, bool isColumn, int32_t line, int32_t shift)
{
    if (!isColumn) {
        const int32_t at = RowBits * line;
        const uint64_t row = (key >> at) & RowMask;
        const uint64_t turned = shift > 0
            ? (row >> BitsPerCell) | ((row & CellMask) << (RowBits - BitsPerCell))
            : ((row << BitsPerCell) & RowMask) | (row >> (RowBits - BitsPerCell));
        return (key & ~(RowMask << at)) | (turned << at);
    }
    uint64_t moved = key;
    for (int32_t row = 0; row < PatternSide; ++row) {
        const int32_t from = (row + shift + PatternSide) % PatternSide;
        const int32_t to = BitsPerCell * (row * PatternSide + line);
        const uint64_t tile = (key >> (BitsPerCell * (from * PatternSide + line))) & CellMask;
        moved = (moved & ~(CellMask << to)) | (tile << to);
    }
    return moved;
}

std::size_t TNearTarget::Slot(uint64_t key) const
{
    // The upper bits of a multiplicative hash spread boards that differ in a few cells.
    constexpr uint64_t Spread = 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>((key * Spread) >> (64 - FSlotBits));
}

bool TNearTarget::Insert(uint64_t key, uint8_t distance)
{
    for (std::size_t slot = Slot(key);; slot = (slot + 1) % FKeys.size()) {
        if (FDistances[slot] == Empty) {
            FKeys[slot] = key;
            FDistances[slot] = distance;
            return true;
        }
        if (FKeys[slot] == key)
            return false;
    }
}
