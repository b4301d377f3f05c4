#include "solver/TilePatternTable.h"

namespace {

// 16 * 15 * 14 * 13 * 12 * 11 ways to put six tiles on sixteen cells.
constexpr uint32_t PatternStates = 5'765'760;
constexpr uint8_t Unreached = 0xF;
constexpr int32_t Moves = 4 * PatternSide;
// States between looks at the cancel flag: about a millisecond's work.
constexpr uint32_t CancelCheckInterval = 1u << 16;

std::atomic<bool> TableBuilt {false};

uint8_t Nibble(const std::vector<uint8_t>& table, uint32_t index)
{
    return (table[index / 2] >> (4 * (index % 2))) & 0xF;
}

void SetNibble(std::vector<uint8_t>& table, uint32_t index, uint8_t value)
{
    uint8_t& pair = table[index / 2];
    pair
        = static_cast<uint8_t>((pair & (0xF0 >> (4 * (index % 2)))) | (value << (4 * (index % 2))));
}

std::array<uint8_t, PatternTiles> Unrank(uint32_t index)
{
    std::array<uint32_t, PatternTiles> digits {};
    for (int32_t i = PatternTiles - 1; i >= 0; --i) {
        const auto base = static_cast<uint32_t>(PatternCells - i);
        digits[i] = index % base;
        index /= base;
    }
    std::array<uint8_t, PatternTiles> cells {};
    uint32_t free = (1u << PatternCells) - 1;
    for (int32_t i = 0; i < PatternTiles; ++i) {
        uint32_t rest = free;
        for (uint32_t skip = digits[i]; skip > 0; --skip)
            rest &= rest - 1;
        cells[i] = static_cast<uint8_t>(__builtin_ctz(rest));
        free &= ~(1u << cells[i]);
    }
    return cells;
}

// Where a tile on each cell goes with each move: columns up, columns down, rows left, rows right.
std::array<std::array<uint8_t, PatternCells>, Moves> CellsAfterMoves()
{
    std::array<std::array<uint8_t, PatternCells>, Moves> after {};
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
            after[move][cell] = static_cast<uint8_t>(row * PatternSide + col);
        }
    }
    return after;
}

} // namespace

const TTilePatternTable& TTilePatternTable::Shared(const std::atomic<bool>* cancel)
{
    // A constructor that throws leaves the table unbuilt for the next caller.
    static const TTilePatternTable table(cancel);
    TableBuilt = true;
    return table;
}

bool TTilePatternTable::Built()
{
    return TableBuilt;
}

const std::array<uint8_t, PatternTiles>& TTilePatternTable::Homes()
{
    static const std::array<uint8_t, PatternTiles> homes {0, 1, 2, 4, 5, 6};
    return homes;
}

TTilePatternTable::TTilePatternTable(const std::atomic<bool>* cancel)
    : FDistance((PatternStates + 1) / 2, 0xFF)
{
    Search(cancel);
}

// Breadth first from the pattern at home, a layer per pass over the table: every move undoes
// with its inverse, so distances from home are distances to it. Once the layer is larger than
// what is left unreached, each unreached state looks for a neighbour in the layer instead,
// which settles most of them at the first few moves.
void TTilePatternTable::Search(const std::atomic<bool>* cancel)
{
    const auto after = CellsAfterMoves();
    auto neighbours = [&after](const std::array<uint8_t, PatternTiles>& cells, auto&& visit) {
        // Only moves of lines that hold a tile of the pattern change anything.
        uint32_t lines = 0;
        for (const uint8_t cell : cells)
            lines |= (1u << (cell % PatternSide)) | (1u << (PatternSide + cell / PatternSide));
        for (int32_t move = 0; move < Moves; ++move) {
            const int32_t line = move % PatternSide + (move < 2 * PatternSide ? 0 : PatternSide);
            if ((lines & (1u << line)) == 0)
                continue;
            std::array<uint8_t, PatternTiles> moved {};
            for (int32_t i = 0; i < PatternTiles; ++i)
                moved[i] = after[move][cells[i]];
            if (visit(Rank(moved)))
                return;
        }
    };

    SetNibble(FDistance, Rank(Homes()), 0);
    uint32_t layer = 1;
    uint32_t unreached = PatternStates - 1;
    for (uint8_t depth = 0; layer > 0 && depth + 1 < Unreached; ++depth) {
        const auto next = static_cast<uint8_t>(depth + 1);
        const bool backwards = unreached < layer;
        layer = 0;
        for (uint32_t index = 0; index < PatternStates; ++index) {
            if (index % CancelCheckInterval == 0 && cancel != nullptr
                && cancel->load(std::memory_order_relaxed))
                throw TCancelled();
            if (backwards) {
                if (Nibble(FDistance, index) != Unreached)
                    continue;
                neighbours(Unrank(index), [&](uint32_t near) {
                    if (Nibble(FDistance, near) != depth)
                        return false;
                    SetNibble(FDistance, index, next);
                    ++layer;
                    return true;
                });
            } else if (Nibble(FDistance, index) == depth) {
                neighbours(Unrank(index), [&](uint32_t near) {
                    if (Nibble(FDistance, near) == Unreached) {
                        SetNibble(FDistance, near, next);
                        ++layer;
                    }
                    return false;
                });
            }
        }
        unreached -= layer;
    }
}
