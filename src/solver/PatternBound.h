#pragma once

#include "solver/SeventhTileTable.h"
#include "solver/SolverBoard.h"
#include "solver/TilePatternTable.h"

#include <array>
#include <vector>

// Where each tile stands, the tiles numbered by the cells they held on the board the search
// started from.
using TTileCells = std::array<uint8_t, MaxSolverCells>;

// A lower bound on the moves of a 4 x 4 board: the most the pattern table asks for over the 32
// placements of its block (16 shifts of the block and 16 of it turned on its side). With tiles
// of equal class, any tile of a home's class may end there: the bound of a placement is the
// least over every way to choose the tiles for its homes, and placements with too many ways
// are left out. Any solution brings some choice of tiles home, so it is never shorter. When all
// tiles differ, each placement also counts the seventh tile of TSeventhTileTable, which only
// raises the bound.
// Shifts of the block round the board, flat and turned on its side.
constexpr std::size_t MaxPlacements = 2 * PatternCells;

class TPatternBound {
public:
    TPatternBound(const TClassBoard& start, const TClassBoard& target);

    // The bound when it reaches enough, counted only until it does; otherwise only some value
    // below enough, as a placement's choices are counted only until one falls below it.
    // Placements are tried from first on; first becomes the one that reached enough, which
    // likely reaches it again on the next boards of the search.
    int32_t Bound(const TTileCells& tileCells, int32_t enough, std::size_t& first) const;

    // The sum of every placement's bound, the seventh tile left out: no bound itself, but finer
    // than their greatest, it tells which of several boards of one bound likely lies nearer.
    int32_t Total(const TTileCells& tileCells) const;

    bool Empty() const { return FPlacements.empty(); }

private:
    struct TPlacement {
        // A cell of the board as the cell of the table's block it stands for.
        std::array<uint8_t, PatternCells> ToTable {};
        bool Turned = false;
        uint8_t ShiftCols = 0;
        uint8_t ShiftRows = 0;
        // Tiles for the homes, PatternTiles per choice.
        std::vector<uint8_t> Choices;
        // The cell of the seventh tile's home and, when all tiles differ, that tile.
        uint8_t SeventhHome = 0;
        uint8_t Seventh = 0;
    };

    int32_t LeastChoice(
        const TPlacement& placement, const TTileCells& tileCells, int32_t enough) const;
    int32_t BoundOfSingleChoices(
        const TTileCells& tileCells, int32_t enough, std::size_t& first) const;
    void AddPlacement(const TClassBoard& start, const TClassBoard& target, bool turned,
        int32_t shiftCols, int32_t shiftRows);

    // With one choice per placement, the placements' table entries are counted side by side, a
    // lane of a vector each: the tile of each home, the seventh's too, the shifts and the turn.
    using TLanes = uint8_t __attribute__((vector_size(PatternCells)));
    struct TLaneSet {
        std::array<TLanes, PatternTiles + 1> Tiles {};
        TLanes ShiftCols {};
        TLanes ShiftRows {};
        TLanes Turned {};
    };
    // Entries of the six tiles and, with the seventh, of the seven, for each placement.
    struct TEntries {
        std::array<uint32_t, MaxPlacements> Six {};
        std::array<uint32_t, MaxPlacements> Seven {};
    };
    void ListLanes();
    // The table entries of every placement, with the widest vectors the processor has.
    void CountEntriesPlain(const TLanes& cellOfTile, TEntries& entries) const;
#if defined(__x86_64__)
    void CountEntriesWide(const TLanes& cellOfTile, TEntries& entries) const;
#endif

    const TTilePatternTable* FTable;
    const TSeventhTileTable* FSeventh = nullptr;
    std::vector<TPlacement> FPlacements;
    bool FSingleChoices = false;
    std::array<TLaneSet, MaxPlacements / PatternCells> FLaneSets {};
};
