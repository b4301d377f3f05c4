#include "solver/PatternSearch.h"

#include "solver/LayerSearch.h"
#include "solver/PatternTable.h"
#include "solver/Placement.h"

namespace {

constexpr int32_t Moves = 4 * PatternSide;

template <int32_t Tiles> TMovedPlacements<Moves, Tiles> MovedPlacements()
{
    return {TCellMoves::ForSize(PatternSide, PatternSide).To, PatternCells};
}

// The seventh tile's extra moves, a quarter of a byte each, read beside the six's distances: an
// entry's level is the six's distance plus its extra.
class TSeventhTable {
public:
    static constexpr int32_t Deepest = TNibbleTable::Unreached + MostSeventhExtra + 1;
    static constexpr uint32_t PerByte = 4;
    static constexpr auto LastCells = static_cast<uint32_t>(PatternCells - PatternTiles);

    TSeventhTable(uint32_t states, const TTilePatternTable& six)
        : Bytes((states + 3) / 4, 0xFF)
        , FSix(six)
    {
    }

    int32_t Level(uint32_t index) const { return Fewest(index) + Extra(index); }
    // An unreached placement that lies within MostSeventhExtra of its six's distance joins the
    // layer there without a neighbour.
    TLayerStep Step(uint32_t index, int32_t depth, bool backwards) const
    {
        const int32_t lower = Fewest(index);
        const int32_t extra = Extra(index);
        const int32_t next = depth + 1;
        if (extra == MostSeventhExtra && lower + MostSeventhExtra == next)
            return TLayerStep::ReachedUnmoved;
        const bool open
            = extra == MostSeventhExtra && lower + MostSeventhExtra > next && lower <= next;
        return (backwards ? open : lower + extra == depth) ? TLayerStep::Expand : TLayerStep::Skip;
    }
    // Lowers an entry from MostSeventhExtra; whether it was MostSeventhExtra.
    bool Lower(uint32_t index, int32_t distance)
    {
        const int32_t extra = distance - Fewest(index);
        const auto keep = static_cast<uint8_t>(~((MostSeventhExtra - extra) << (2 * (index % 4))));
        const uint8_t before
            = std::atomic_ref<uint8_t>(Bytes[index / 4]).fetch_and(keep, std::memory_order_relaxed);
        return ((before >> (2 * (index % 4))) & 3) == MostSeventhExtra;
    }
    void Prefetch(uint32_t index) const
    {
        __builtin_prefetch(&Bytes[index / 4]);
        FSix.Prefetch(index / LastCells);
    }

    std::vector<uint8_t> Bytes;

private:
    int32_t Fewest(uint32_t index) const { return FSix.At(index / LastCells); }
    int32_t Extra(uint32_t index) const
    {
        const uint8_t four
            = std::atomic_ref<const uint8_t>(Bytes[index / 4]).load(std::memory_order_relaxed);
        return (four >> (2 * (index % 4))) & 3;
    }

    const TTilePatternTable& FSix;
};

} // namespace

std::vector<uint8_t> SearchSixTiles(
    const std::array<uint8_t, PatternTiles>& homes, const std::atomic<bool>* cancel)
{
    const uint32_t states = PlacementCount(PatternCells, PatternTiles);
    TNibbleTable table(states);
    SearchByLayers<Moves>(
        table, states, RankCells(homes), {}, MovedPlacements<PatternTiles>(), cancel);
    return std::move(table.Bytes);
}

// Every entry starts at MostSeventhExtra: placements not yet reached lie further than the search.
std::vector<uint8_t> SearchSeventhTile(const std::array<uint8_t, PatternTiles + 1>& homes,
    const TTilePatternTable& six, const std::atomic<bool>* cancel)
{
    const uint32_t states = PlacementCount(PatternCells, PatternTiles + 1);
    TSeventhTable table(states, six);
    SearchByLayers<Moves>(
        table, states, RankCells(homes), {}, MovedPlacements<PatternTiles + 1>(), cancel);
    return std::move(table.Bytes);
}
