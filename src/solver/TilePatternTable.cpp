#include "solver/TilePatternTable.h"

#include "solver/BuiltOnce.h"
#include "solver/PatternSearch.h"
#include "solver/TableFile.h"

namespace {

TBuiltOnce<TTilePatternTable>& Once()
{
    static TBuiltOnce<TTilePatternTable> once;
    return once;
}

} // namespace

const TTilePatternTable& TTilePatternTable::Shared(const std::atomic<bool>* cancel)
{
    return Once().Get(cancel, [cancel] {
        return std::unique_ptr<const TTilePatternTable>(new TTilePatternTable(cancel));
    });
}

bool TTilePatternTable::Built()
{
    return Once().Built();
}

const std::array<uint8_t, PatternTiles>& TTilePatternTable::Homes()
{
    static const std::array<uint8_t, PatternTiles> homes {0, 1, 2, 4, 5, 6};
    return homes;
}

TTilePatternTable::TTilePatternTable(const std::atomic<bool>* cancel)
    : FDistance(TableFromFile(SixTilesTableName()))
{
    if (!FDistance.empty())
        return;
    FBuilt = SearchSixTiles(Homes(), cancel);
    FDistance = FBuilt;
}
