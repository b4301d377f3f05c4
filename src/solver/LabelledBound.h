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
// over the labellings, and so is its bound. A labelling whose bound exceeds the moves a search
// has left on a board is out of the search below that board, which thus counts fewer of them
// the deeper it goes.
class TLabelledBound {
public:
    // Nothing when the board is not 4 x 4 or has more labellings than maxLabellings. Tiles are
    // numbered by the cells they hold on start.
    static std::optional<TLabelledBound> Make(
        const TClassBoard& start, const TClassBoard& target, std::size_t maxLabellings);

    // Starts a search for solutions of the given length: only labellings whose solutions have
    // lengths as odd as that count, as no shorter ones are left.
    void Aim(int32_t length);
    // Whether some labelling's solutions have lengths as odd as this one.
    bool Reaches(int32_t length) const;

    // A tile moved to a cell; Moved follows the tiles of each move, and MovedBack those of a
    // move that takes back the last one still standing. Only the labellings live on the board
    // the move is made from follow it.
    void Place(uint8_t tile, uint8_t cell);
    void Moved(bool isColumn);
    void MovedBack(bool isColumn);

    // The search enters a board: the least bound over the labellings live on the board it came
    // from. Those whose bound stays below enough are live on this board and the ones after it;
    // the others cannot end in a solution of the aimed length from here. The bound is the least
    // when it reaches enough, and below enough otherwise. Leave returns to the board before.
    int32_t Enter(int32_t enough);
    void Leave();
    // The labellings' bounds Enter has counted so far.
    int64_t Counted() const { return FCounted; }

    // The least of the live labellings' bounds when it reaches enough; otherwise only some value
    // below enough, as the count stops at the first labelling whose bound stays below it.
    int32_t Bound(int32_t enough);
    // The least over the first live labellings of the pattern bound's totals of the board and
    // its inverse: a guide to the nearer of several boards, as TPatternBound::Total is.
    int32_t Total() const;

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

    int32_t LabellingBound(TLabelling& labelling, int32_t enough);
    // The labellings live on the board the search stands on.
    std::size_t LiveBegin() const { return FLiveStarts.back(); }
    std::size_t LiveEnd() const { return FLive.size(); }

    std::shared_ptr<const TWalkingDistance> FAcrossRows;
    std::shared_ptr<const TWalkingDistance> FAcrossColumns;
    TPatternBound FPattern;
    std::vector<TLabelling> FLabellings;
    // The walking distances each move changed, to be restored when it is taken back.
    std::vector<int8_t> FTakenBack;
    // The live labellings of each board on the search's way, one board's after the other's,
    // and where each board's begin.
    std::vector<uint16_t> FLive;
    std::vector<std::size_t> FLiveStarts;
    int64_t FCounted = 0;
    std::size_t FFirstLabelling = 0;
    std::size_t FFirstPlacement = 0;
    std::size_t FFirstInverse = 0;
};
