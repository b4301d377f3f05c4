#include "solver/SeventhTileTable.h"

#include "solver/BuiltOnce.h"
#include "solver/PatternSearch.h"

#include <algorithm>

namespace {

TBuiltOnce<TSeventhTileTable>& Once()
{
    static TBuiltOnce<TSeventhTileTable> once;
    return once;
}

} // namespace

const TSeventhTileTable& TSeventhTileTable::Shared(const std::atomic<bool>* cancel)
{
    return Once().Get(cancel, [cancel] {
        return std::unique_ptr<const TSeventhTileTable>(new TSeventhTileTable(cancel));
    });
}

bool TSeventhTileTable::Built()
{
    return Once().Built();
}

// The seven are searched in the table itself, with the six's distances beside it, so that the
// build holds no more than the two tables.
TSeventhTileTable::TSeventhTileTable(const std::atomic<bool>* cancel)
{
    static_assert(MostSeventhExtra == MostExtra);
    const TTilePatternTable& six = TTilePatternTable::Shared(cancel);
    std::array<uint8_t, PatternTiles + 1> homes {};
    std::copy(TTilePatternTable::Homes().begin(), TTilePatternTable::Homes().end(), homes.begin());
    homes.back() = Home;
    FExtra = SearchSeventhTile(homes, six, cancel);
}
