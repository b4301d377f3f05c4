#include "solver/PatternBound.h"

#include <algorithm>

namespace {

// Ways to choose tiles for one placement beyond which its bound costs more than it saves.
constexpr std::size_t MaxChoices = 64;
constexpr int32_t Unbounded = 0xFF;

} // namespace

TPatternBound::TPatternBound(const TClassBoard& start, const TClassBoard& target)
    : FTable(&TTilePatternTable::Shared())
{
    for (const bool turned : {false, true})
        for (int32_t shiftRows = 0; shiftRows < PatternSide; ++shiftRows)
            for (int32_t shiftCols = 0; shiftCols < PatternSide; ++shiftCols)
                AddPlacement(start, target, turned, shiftCols, shiftRows);
    FSingleChoices = std::all_of(FPlacements.begin(), FPlacements.end(),
        [](const TPlacement& placement) { return placement.Choices.size() == PatternTiles; });
}

// The block turned on its side (rows and columns swapped, which maps row moves to column moves
// and back) and then shifted round the board.
void TPatternBound::AddPlacement(const TClassBoard& start, const TClassBoard& target, bool turned,
    int32_t shiftCols, int32_t shiftRows)
{
    TPlacement placement;
    std::array<uint8_t, PatternTiles> homes {};
    for (int32_t cell = 0; cell < PatternCells; ++cell) {
        int32_t row = cell / PatternSide;
        int32_t col = cell % PatternSide;
        if (turned)
            std::swap(row, col);
        const int32_t onBoard
            = ((row + shiftRows) % PatternSide) * PatternSide + (col + shiftCols) % PatternSide;
        placement.ToTable[onBoard] = static_cast<uint8_t>(cell);
        const auto* home
            = std::find(TTilePatternTable::Homes().begin(), TTilePatternTable::Homes().end(), cell);
        if (home != TTilePatternTable::Homes().end())
            homes[home - TTilePatternTable::Homes().begin()] = static_cast<uint8_t>(onBoard);
    }

    // Every way to give each home a tile of its class, no tile twice.
    std::array<uint8_t, PatternTiles> chosen {};
    uint32_t used = 0;
    auto choose = [&](auto&& self, int32_t i) -> bool {
        if (i == PatternTiles) {
            placement.Choices.insert(placement.Choices.end(), chosen.begin(), chosen.end());
            return placement.Choices.size() <= MaxChoices * PatternTiles;
        }
        for (int32_t tile = 0; tile < start.Count(); ++tile)
            if ((used & (1u << tile)) == 0 && start.Cells[tile] == target.Cells[homes[i]]) {
                chosen[i] = static_cast<uint8_t>(tile);
                used |= 1u << tile;
                const bool fits = self(self, i + 1);
                used &= ~(1u << tile);
                if (!fits)
                    return false;
            }
        return true;
    };
    if (choose(choose, 0) && !placement.Choices.empty())
        FPlacements.push_back(std::move(placement));
}

int32_t TPatternBound::Bound(const TTileCells& tileCells, int32_t enough, std::size_t& first) const
{
    if (FSingleChoices)
        return BoundOfSingleChoices(tileCells, enough, first);
    int32_t bound = 0;
    for (std::size_t n = 0; n < FPlacements.size(); ++n) {
        const std::size_t at = (first + n) % FPlacements.size();
        const TPlacement& placement = FPlacements[at];
        int32_t least = Unbounded;
        for (std::size_t choice = 0; choice < placement.Choices.size() && least > bound;
             choice += PatternTiles) {
            std::array<uint8_t, PatternTiles> cells {};
            for (int32_t i = 0; i < PatternTiles; ++i)
                cells[i] = placement.ToTable[tileCells[placement.Choices[choice + i]]];
            least = std::min(least, FTable->Distance(cells));
        }
        bound = std::max(bound, least);
        if (bound >= enough) {
            first = at;
            break;
        }
    }
    return bound;
}

// With one choice per placement every entry is known at once: all are asked for before the
// first is read, which costs less than waiting for each in turn, even when the first would do.
int32_t TPatternBound::BoundOfSingleChoices(
    const TTileCells& tileCells, int32_t enough, std::size_t& first) const
{
    std::array<uint32_t, MaxPlacements> entries {};
    for (std::size_t at = 0; at < FPlacements.size(); ++at) {
        const TPlacement& placement = FPlacements[at];
        std::array<uint8_t, PatternTiles> cells {};
        for (int32_t i = 0; i < PatternTiles; ++i)
            cells[i] = placement.ToTable[tileCells[placement.Choices[i]]];
        entries[at] = TTilePatternTable::Rank(cells);
        FTable->Prefetch(entries[at]);
    }
    int32_t bound = 0;
    for (std::size_t n = 0; n < FPlacements.size(); ++n) {
        const std::size_t at = (first + n) % FPlacements.size();
        bound = std::max(bound, FTable->At(entries[at]));
        if (bound >= enough) {
            first = at;
            break;
        }
    }
    return bound;
}
