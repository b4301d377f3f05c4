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
    if (!FSingleChoices || FPlacements.empty())
        return;
    // With every tile different, the seventh tile of each placement is the one of its class.
    if (!HasRepeatedClass(target) && TSeventhTileTable::Built()) {
        FSeventh = &TSeventhTileTable::Shared();
        for (TPlacement& placement : FPlacements)
            placement.Seventh = static_cast<uint8_t>(
                std::find(start.Cells.begin(), start.Cells.begin() + PatternCells,
                    target.Cells[placement.SeventhHome])
                - start.Cells.begin());
    }
    ListLanes();
}

// Lanes past the last placement repeat the first, which leaves the greatest entry as it is.
void TPatternBound::ListLanes()
{
    for (std::size_t lane = 0; lane < MaxPlacements; ++lane) {
        const TPlacement& placement = FPlacements[lane < FPlacements.size() ? lane : 0];
        TLaneSet& set = FLaneSets[lane / PatternCells];
        const std::size_t at = lane % PatternCells;
        for (int32_t i = 0; i < PatternTiles; ++i)
            set.Tiles[i][at] = placement.Choices[i];
        set.Tiles[PatternTiles][at] = placement.Seventh;
        set.ShiftCols[at] = placement.ShiftCols;
        set.ShiftRows[at] = placement.ShiftRows;
        set.Turned[at] = placement.Turned ? 0xFF : 0;
    }
}

// The block turned on its side (rows and columns swapped, which maps row moves to column moves
// and back) and then shifted round the board.
void TPatternBound::AddPlacement(const TClassBoard& start, const TClassBoard& target, bool turned,
    int32_t shiftCols, int32_t shiftRows)
{
    TPlacement placement;
    placement.Turned = turned;
    placement.ShiftCols = static_cast<uint8_t>(shiftCols);
    placement.ShiftRows = static_cast<uint8_t>(shiftRows);
    std::array<uint8_t, PatternTiles> homes {};
    for (int32_t cell = 0; cell < PatternCells; ++cell) {
        int32_t row = cell / PatternSide;
        int32_t col = cell % PatternSide;
        if (turned)
            std::swap(row, col);
        const int32_t onBoard
            = ((row + shiftRows) % PatternSide) * PatternSide + (col + shiftCols) % PatternSide;
        placement.ToTable[onBoard] = static_cast<uint8_t>(cell);
        if (cell == TSeventhTileTable::Home)
            placement.SeventhHome = static_cast<uint8_t>(onBoard);
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
        // A placement that cannot reach enough need not count its least choice in full.
        bound = std::max(bound, LeastChoice(FPlacements[at], tileCells, enough));
        if (bound >= enough) {
            first = at;
            break;
        }
    }
    return bound;
}

// The least entry over the placement's choices, counted only while it stays at or above enough.
int32_t TPatternBound::LeastChoice(
    const TPlacement& placement, const TTileCells& tileCells, int32_t enough) const
{
    int32_t least = Unbounded;
    for (std::size_t choice = 0; choice < placement.Choices.size() && least >= enough;
         choice += PatternTiles) {
        std::array<uint8_t, PatternTiles> cells {};
        for (int32_t i = 0; i < PatternTiles; ++i)
            cells[i] = placement.ToTable[tileCells[placement.Choices[choice + i]]];
        least = std::min(least, FTable->Distance(cells));
    }
    return least;
}

int32_t TPatternBound::Total(const TTileCells& tileCells) const
{
    int32_t total = 0;
    for (const TPlacement& placement : FPlacements)
        total += LeastChoice(placement, tileCells, 0);
    return total;
}

namespace {

using TWords = uint16_t __attribute__((vector_size(2 * PatternCells)));
using TLongs = uint32_t __attribute__((vector_size(4 * PatternCells)));

// The table entries of sixteen placements side by side, numbered as RankCells does, and with
// the seventh tile also those of TSeventhTileTable. The entries of the six tiles are asked for at
// once. Inlined into a copy for every instruction set it is built for.
template <bool Seven, typename TLanes, typename TLaneSet>
[[gnu::always_inline]] inline void CountLaneEntries(const TLaneSet& lanes, const TLanes& cellOfTile,
    uint32_t* six, uint32_t* seven, const TTilePatternTable& table)
{
    constexpr int32_t tiles = Seven ? PatternTiles + 1 : PatternTiles;
    std::array<TLanes, tiles> cells {};
    std::array<TWords, tiles> free {};
    for (int32_t i = 0; i < tiles; ++i) {
        // The board's cell of the home's tile, shifted back and turned into the block.
        const TLanes onBoard = __builtin_shuffle(cellOfTile, lanes.Tiles[i]);
        const TLanes row = ((onBoard >> 2) - lanes.ShiftRows) & 3;
        const TLanes col = ((onBoard & 3) - lanes.ShiftCols) & 3;
        cells[i] = (lanes.Turned & ((col << 2) | row)) | (~lanes.Turned & ((row << 2) | col));
        // Each cell counts among the cells still free: less one for each taken before it.
        TLanes taken = cells[i];
        for (int32_t j = 0; j < i; ++j)
            taken += reinterpret_cast<TLanes>(cells[j] < cells[i]);
        free[i] = __builtin_convertvector(taken, TWords);
    }
    // The falling bases 16 ... 11, as two halves that fit sixteen bits.
    const TWords high = (free[0] * 15 + free[1]) * 14 + free[2];
    const TWords low = (free[3] * 12 + free[4]) * 11 + free[5];
    const TLongs index = __builtin_convertvector(high, TLongs) * (13 * 12 * 11)
        + __builtin_convertvector(low, TLongs);
    for (int32_t lane = 0; lane < PatternCells; ++lane) {
        six[lane] = index[lane];
        table.Prefetch(index[lane]);
        if constexpr (Seven)
            seven[lane] = TSeventhTileTable::Entry(index[lane], free[PatternTiles][lane]);
    }
}

// Every set of lanes, with or without the seventh tile.
template <typename TLaneSets, typename TLanes, typename TEntries>
[[gnu::always_inline]] inline void CountSetEntries(const TLaneSets& sets, const TLanes& cellOfTile,
    bool seventh, TEntries& entries, const TTilePatternTable& table)
{
    for (std::size_t set = 0; set < sets.size(); ++set) {
        uint32_t* six = &entries.Six[set * PatternCells];
        uint32_t* seven = &entries.Seven[set * PatternCells];
        if (seventh)
            CountLaneEntries<true>(sets[set], cellOfTile, six, seven, table);
        else
            CountLaneEntries<false>(sets[set], cellOfTile, six, seven, table);
    }
}

} // namespace

#if defined(__x86_64__)
[[gnu::target("avx2")]] void TPatternBound::CountEntriesWide(
    const TLanes& cellOfTile, TEntries& entries) const
{
    CountSetEntries(FLaneSets, cellOfTile, FSeventh != nullptr, entries, *FTable);
}
#endif

void TPatternBound::CountEntriesPlain(const TLanes& cellOfTile, TEntries& entries) const
{
    CountSetEntries(FLaneSets, cellOfTile, FSeventh != nullptr, entries, *FTable);
}

// With one choice per placement every entry is known at once: all are asked for before the
// first is read, which costs less than waiting for each in turn, even when the first would do.
// The seven tiles' bound is never less than the six's, but their table is large and read at
// random: only once the six fall short, and only at the placements whose six could still reach
// enough, is it asked.
int32_t TPatternBound::BoundOfSingleChoices(
    const TTileCells& tileCells, int32_t enough, std::size_t& first) const
{
    TLanes cellOfTile {};
    for (int32_t tile = 0; tile < PatternCells; ++tile)
        cellOfTile[tile] = tileCells[tile];
    TEntries entries;
#if defined(__x86_64__)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide)
        CountEntriesWide(cellOfTile, entries);
    else
        CountEntriesPlain(cellOfTile, entries);
#else
    CountEntriesPlain(cellOfTile, entries);
#endif
    const std::size_t placements = FPlacements.size();
    std::array<int32_t, MaxPlacements> six {};
    int32_t bound = 0;
    // From the placement that reached enough last, round to the one before it.
    std::size_t at = first < placements ? first : 0;
    for (std::size_t n = 0; n < placements; ++n, at = at + 1 < placements ? at + 1 : 0) {
        six[at] = FTable->At(entries.Six[at]);
        bound = std::max(bound, six[at]);
        if (bound >= enough) {
            first = at;
            return bound;
        }
    }
    if (FSeventh == nullptr)
        return bound;

    std::array<uint8_t, MaxPlacements> worth {};
    std::size_t count = 0;
    for (std::size_t placement = 0; placement < placements; ++placement)
        if (six[placement] + TSeventhTileTable::MostExtra >= enough) {
            FSeventh->Prefetch(entries.Seven[placement]);
            worth[count++] = static_cast<uint8_t>(placement);
        }
    for (std::size_t n = 0; n < count && bound < enough; ++n)
        bound = std::max(bound, six[worth[n]] + FSeventh->Extra(entries.Seven[worth[n]]));
    return bound;
}
