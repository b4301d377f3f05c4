#include "solver/SeventhTileTable.h"

#include "solver/BuiltOnce.h"
#include "solver/PatternSearch.h"

#include <algorithm>

namespace {

using TSevenSearch = TPatternSearch<PatternTiles + 1>;

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

// The seven are searched in full, the seventh numbered last so that each entry of the six is
// followed by those of the seventh's free cells; the difference is kept.
TSeventhTileTable::TSeventhTileTable(const std::atomic<bool>* cancel)
{
    const TTilePatternTable& six = TTilePatternTable::Shared(cancel);
    TSevenSearch::TCells homes {};
    std::copy(TTilePatternTable::Homes().begin(), TTilePatternTable::Homes().end(), homes.begin());
    homes.back() = Home;
    std::vector<uint8_t> seven = TSevenSearch::Search(homes, cancel);
    constexpr uint32_t entries = TSevenSearch::States();
    FExtra.assign((entries + 3) / 4, 0);
    for (uint32_t entry = 0; entry < entries; ++entry) {
        const int32_t extra
            = std::min(MostExtra, TSevenSearch::Nibble(seven, entry) - six.At(entry / FreeCells));
        FExtra[entry / 4] |= static_cast<uint8_t>(extra << (2 * (entry % 4)));
    }
}
