#pragma once

#include "solver/PatternBound.h"
#include "solver/WalkingDistance.h"

#include <memory>
#include <optional>
#include <vector>

// Lower bounds of a 4 x 4 board through the ways to tell its equal tiles apart. Each labelling
// sends every tile to one home of its class and makes the board a permutation of distinct
// tiles, whose distance is bounded by the walking distance of distinct tiles, the pattern
// bound, the pattern bound of the inverse permutation (which needs as many moves: the inverse
// moves in the reverse order) and parity: every move of a line of four is an odd permutation,
// so the moves still needed are as odd as the arrangement. The board's distance is the least
// over the labellings, and so is its bound.
class TLabelledBound {
public:
    // Nothing when the board is not 4 x 4 or has more labellings than maxLabellings. Tiles are
    // numbered by the cells they hold on start.
    static std::optional<TLabelledBound> Make(
        const TClassBoard& start, const TClassBoard& target, std::size_t maxLabellings);

    // Only labellings whose solutions have lengths as odd as the given one count from now on.
    // A search for solutions of exactly that length (none shorter being left) may then take
    // the least over fewer bounds.
    void Aim(int32_t length) { FOddLength = length % 2 == 1; }

    // A tile moved to a cell; Moved follows the tiles of each move, and MovedBack those of a
    // move that takes back the last one still standing.
    void Place(uint8_t tile, uint8_t cell);
    void Moved(bool isColumn);
    void MovedBack(bool isColumn);

    // The least of the labellings' bounds when it reaches enough; otherwise only some value
    // below enough, as the count stops at the first labelling whose bound stays below it.
    int32_t Bound(int32_t enough);

private:
    struct TLabelling {
        TTileCells HomeOf {};
        // Where the tile of each home stands, and the home of the tile on each cell: the
        // board's permutation and its inverse.
        TTileCells CellOf {};
        TClassBoard Homes;
        bool Odd = false;
        bool OddAtStart = false;
        // The walking distances, or -1 until counted: a column move changes only the one
        // across rows, a row move the other.
        int8_t AcrossRows = -1;
        int8_t AcrossColumns = -1;
    };

    TLabelledBound(const TClassBoard& target, std::vector<TLabelling> labellings);

    std::shared_ptr<const TWalkingDistance> FAcrossRows;
    std::shared_ptr<const TWalkingDistance> FAcrossColumns;
    TPatternBound FPattern;
    std::vector<TLabelling> FLabellings;
    // The walking distances each move changed, to be restored when it is taken back.
    std::vector<int8_t> FTakenBack;
    std::size_t FFirstLabelling = 0;
    std::size_t FFirstPlacement = 0;
    std::size_t FFirstInverse = 0;
    bool FOddLength = false;
};
