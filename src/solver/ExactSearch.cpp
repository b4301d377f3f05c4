#include "solver/ExactSearch.h"

#include "solver/PatternBound.h"
#include "solver/WalkingDistance.h"

#include <limits>
#include <optional>

namespace {

// Arrangements a bound table may number: 35^4 for four lines of four, each a byte.
constexpr int32_t MaxBoundStates = 2'000'000;
constexpr int64_t CancelCheckInterval = 4096;

class TShortestSearch {
public:
    TShortestSearch(const TClassPair& pair, const TWalkingDistance& acrossRows,
        const TWalkingDistance& acrossColumns, const TSearchLimits& limits)
        : FBoard(pair.Current)
        , FTarget(pair.Target)
        , FAcrossRows(acrossRows)
        , FAcrossColumns(acrossColumns)
        , FLimits(limits)
    {
        for (int32_t cell = 0; cell < FBoard.Count(); ++cell) {
            FCellTile[cell] = FTileCells[cell] = static_cast<uint8_t>(cell);
            for (int32_t home = 0; home < FTarget.Count(); ++home)
                if (FTarget.Cells[home] == FBoard.Cells[cell])
                    FCellHome[cell] = FHomeOf[cell] = static_cast<uint8_t>(home);
        }
        if (FBoard.Cols != PatternSide || FBoard.Rows != PatternSide)
            return;
        FPattern.emplace(pair.Current, pair.Target);
        if (FPattern->Empty())
            FPattern.reset();
        // With distinct tiles the board is a permutation, and its inverse needs as many moves
        // (the inverse moves in the reverse order): the inverse's bound holds as well.
        // Each move of a line of four is an odd permutation, so with distinct tiles the moves
        // still needed are as odd as the arrangement; a bound of the wrong parity is one short.
        if (!HasRepeatedClass(FTarget)) {
            FInversePattern.emplace(FTarget, FTarget);
            FFixedParity = true;
            FOddAtStart = OddArrangement(FBoard, FTarget);
        }
    }

    TSearchResult Run()
    {
        TSearchResult result;
        const int32_t rowsBound = FAcrossRows.Bound(FBoard);
        const int32_t columnsBound = FAcrossColumns.Bound(FBoard);
        int32_t bound = WithParity(rowsBound + columnsBound, 0);
        for (;;) {
            FNextBound = std::numeric_limits<int32_t>::max();
            const TStep step = Deepen(0, bound, TSolverMove {}, false, 0, rowsBound, columnsBound);
            result.Nodes = FNodes;
            if (step == TStep::Found) {
                result.Outcome = TSearchOutcome::Found;
                result.Moves = FPath;
                return result;
            }
            if (step == TStep::Stopped) {
                result.Outcome
                    = FCancelled ? TSearchOutcome::Cancelled : TSearchOutcome::OverBudget;
                return result;
            }
            if (FLimits.KnownLength > 0 && FNextBound >= FLimits.KnownLength) {
                result.Outcome = TSearchOutcome::KnownIsShortest;
                return result;
            }
            bound = FNextBound;
        }
    }

private:
    enum class TStep { Found, Deeper, Stopped };

    // Turning a line more than half way round one way is never shorter than the other way; an
    // even half turn is taken forwards only.
    static int32_t MaxRun(int32_t shift, int32_t length)
    {
        return shift > 0 ? length / 2 : (length - 1) / 2;
    }

    // A column move keeps every tile in its column, so only the bound across rows changes with
    // it, and the other way round for a row move.
    TStep Deepen(int32_t depth, int32_t bound, TSolverMove previous, bool hasPrevious, int32_t run,
        int32_t rowsBound, int32_t columnsBound)
    {
        if (++FNodes > FLimits.MaxNodes)
            return TStep::Stopped;
        if (FLimits.Cancel != nullptr && FNodes % CancelCheckInterval == 0
            && FLimits.Cancel->load(std::memory_order_relaxed)) {
            FCancelled = true;
            return TStep::Stopped;
        }
        // Bounds of the right parity beyond what is left of the bound end the branch; the
        // pattern bounds are counted only as far as that.
        int32_t rest = WithParity(rowsBound + columnsBound, depth);
        const int32_t enough = bound - depth + 1;
        if (rest < enough && FPattern)
            rest = std::max(
                rest, WithParity(FPattern->Bound(FTileCells, enough, FFirstPlacement), depth));
        if (rest < enough && FInversePattern)
            rest = std::max(
                rest, WithParity(FInversePattern->Bound(FCellHome, enough, FFirstInverse), depth));
        const int32_t estimate = depth + rest;
        if (estimate > bound) {
            FNextBound = std::min(FNextBound, estimate);
            return TStep::Deeper;
        }
        if (rowsBound + columnsBound == 0 && FBoard == FTarget)
            return TStep::Found;

        for (const bool isColumn : {true, false}) {
            const int32_t length = FBoard.LineLength(isColumn);
            for (int32_t line = 0; line < FBoard.LineCount(isColumn); ++line)
                for (const int8_t shift : {int8_t {1}, int8_t {-1}}) {
                    // Moves of parallel lines commute, so they are tried in line order only.
                    const bool sameKind = hasPrevious && previous.IsColumn == isColumn;
                    const bool sameLine = sameKind && previous.Line == line;
                    if (sameKind && line < previous.Line)
                        continue;
                    if (sameLine && (shift != previous.Shift || run + 1 > MaxRun(shift, length)))
                        continue;
                    if (!sameLine && MaxRun(shift, length) < 1)
                        continue;

                    const TSolverMove move {isColumn, static_cast<int8_t>(line), shift};
                    Apply(move);
                    FPath.push_back(move);
                    const TStep step = Deepen(depth + 1, bound, move, true, sameLine ? run + 1 : 1,
                        isColumn ? FAcrossRows.Bound(FBoard) : rowsBound,
                        isColumn ? columnsBound : FAcrossColumns.Bound(FBoard));
                    if (step == TStep::Found)
                        return step;
                    FPath.pop_back();
                    Apply(move.Inverse());
                    if (step == TStep::Stopped)
                        return step;
                }
        }
        return TStep::Deeper;
    }

    int32_t WithParity(int32_t rest, int32_t depth) const
    {
        const bool odd = FOddAtStart != (depth % 2 == 1);
        return FFixedParity && (rest % 2 == 1) != odd ? rest + 1 : rest;
    }

    void Apply(const TSolverMove& move)
    {
        FBoard.Apply(move);
        const int32_t length = FBoard.LineLength(move.IsColumn);
        std::array<int32_t, MaxLines> cells {};
        std::array<uint8_t, MaxLines> tiles {};
        for (int32_t i = 0; i < length; ++i) {
            cells[i] = move.IsColumn ? FBoard.Index(move.Line, i) : FBoard.Index(i, move.Line);
            tiles[i] = FCellTile[cells[i]];
        }
        for (int32_t i = 0; i < length; ++i) {
            const uint8_t tile = tiles[(i + move.Shift + length) % length];
            FCellTile[cells[i]] = tile;
            FTileCells[tile] = static_cast<uint8_t>(cells[i]);
            FCellHome[cells[i]] = FHomeOf[tile];
        }
    }

    TClassBoard FBoard;
    const TClassBoard& FTarget;
    // Which tile stands on each cell and where each tile stands, for the pattern bound.
    TTileCells FCellTile {};
    TTileCells FTileCells {};
    // The target cell of each tile's class (one of them when the class repeats), and the one
    // of the tile on each cell: read as a board, the inverse of the board's permutation.
    TTileCells FHomeOf {};
    TTileCells FCellHome {};
    std::optional<TPatternBound> FPattern;
    std::optional<TPatternBound> FInversePattern;
    std::size_t FFirstPlacement = 0;
    std::size_t FFirstInverse = 0;
    bool FFixedParity = false;
    bool FOddAtStart = false;
    const TWalkingDistance& FAcrossRows;
    const TWalkingDistance& FAcrossColumns;
    const TSearchLimits& FLimits;
    TMoveList FPath;
    int64_t FNodes = 0;
    int32_t FNextBound = 0;
    bool FCancelled = false;
};

} // namespace

TSearchResult SearchShortest(const TClassPair& pair, const TSearchLimits& limits)
{
    const auto acrossRows = TWalkingDistance::Build(pair.Target, true, MaxBoundStates);
    const auto acrossColumns = TWalkingDistance::Build(pair.Target, false, MaxBoundStates);
    if (!acrossRows || !acrossColumns)
        return {TSearchOutcome::NoBound, {}, 0};
    return TShortestSearch(pair, *acrossRows, *acrossColumns, limits).Run();
}
