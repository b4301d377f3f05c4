#pragma once

#include "solver/TilePatternTable.h"

#include <atomic>
#include <cstdint>
#include <vector>

// The fewest moves that bring the six tiles of homes on a 4 x 4 board home, whatever the other
// tiles do, for every way to place them: half a byte per placement, numbered as RankCells numbers
// them. Raises TTableCancelled once cancel is set.
std::vector<uint8_t> SearchSixTiles(
    const std::array<uint8_t, PatternTiles>& homes, const std::atomic<bool>* cancel);

// The moves the last of seven tiles adds to the fewest that bring the six others home, which six
// gives at their number (the index less its last digit), cut to MostSeventhExtra: a quarter of a
// byte per placement. The distance cut to six's plus MostSeventhExtra is itself a distance, in
// which every placement also lies that far from home directly; so a placement's entry and six's
// tell whether the search has reached it, and the exact distance wherever it has.
constexpr int32_t MostSeventhExtra = 3;
std::vector<uint8_t> SearchSeventhTile(const std::array<uint8_t, PatternTiles + 1>& homes,
    const TTilePatternTable& six, const std::atomic<bool>* cancel);
