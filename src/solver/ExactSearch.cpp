#include "solver/ExactSearch.h"

#include "solver/WalkingDistance.h"

#include <limits>

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
    }

    TSearchResult Run()
    {
        TSearchResult result;
        const int32_t rowsBound = FAcrossRows.Bound(FBoard);
        const int32_t columnsBound = FAcrossColumns.Bound(FBoard);
        int32_t bound = rowsBound + columnsBound;
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
        const int32_t estimate = depth + rowsBound + columnsBound;
        if (estimate > bound) {
            FNextBound = std::min(FNextBound, estimate);
            return TStep::Deeper;
        }
        if (estimate == depth && FBoard == FTarget)
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
                    FBoard.Apply(move);
                    FPath.push_back(move);
                    const TStep step = Deepen(depth + 1, bound, move, true, sameLine ? run + 1 : 1,
                        isColumn ? FAcrossRows.Bound(FBoard) : rowsBound,
                        isColumn ? columnsBound : FAcrossColumns.Bound(FBoard));
                    if (step == TStep::Found)
                        return step;
                    FPath.pop_back();
                    FBoard.Apply(move.Inverse());
                    if (step == TStep::Stopped)
                        return step;
                }
        }
        return TStep::Deeper;
    }

    TClassBoard FBoard;
    const TClassBoard& FTarget;
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
