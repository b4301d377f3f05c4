#include "solver/ExactSearch.h"

#include "solver/BuiltOnce.h"
#include "solver/Deepening.h"
#include "solver/LabelledBound.h"
#include "solver/NearTarget.h"
#include "solver/PatternBound.h"
#include "solver/SeventhTileTable.h"
#include "solver/SubtreeShare.h"
#include "solver/TwoThreads.h"
#include "solver/WalkingDistance.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

namespace {

// Arrangements a bound table may number: 35^4 for four lines of four, each a byte.
constexpr int32_t MaxBoundStates = 2'000'000;
constexpr int64_t CancelCheckInterval = 4096;
// Ways to tell equal tiles apart beyond which the bounds of distinct tiles cost more than they
// save; the bound over tile classes takes over. Few labellings stay live deep in a search, but
// each board's first ones are all counted.
constexpr std::size_t MaxLabellings = 2000;
// An iteration's work: its nodes and, in a search of labellings, the labellings' bounds counted
// on them, each about as dear as a node. Past an iteration of this much work, the next ones are
// shared between two threads: the iterations grow about tenfold a length, so the next one is
// worth the second thread's start.
constexpr int64_t TogetherAfterWork = 2'000;
constexpr int64_t GrowthPerLength = 10;
// Shared searches deal out the subtrees below the boards this many moves from the start.
constexpr int32_t SubtreeDepth = 2;
// The boards near the target are listed for a search over tile classes once one of its
// iterations has passed this much work: cheap searches never need them.
constexpr int64_t NearAfterWork = 2'000;
constexpr int32_t NearRadius = 4;
// The first moves are tried in the order of the bounds of the boards they reach, so that the
// search for the last length, which stops at its first solution, tends to meet it sooner.
constexpr int32_t OrderedDepth = 2;
// Moves a board may go on with: each line either way.
constexpr std::size_t MaxMovesOn = 4 * MaxLines;

class TShortestSearch {
public:
    TShortestSearch(const TClassPair& pair, const TWalkingDistance* acrossRows,
        const TWalkingDistance* acrossColumns, std::optional<TLabelledBound> labelled,
        const TSearchLimits& limits)
        : FBoard(pair.Current)
        , FTarget(pair.Target)
        , FLabelled(std::move(labelled))
        , FAcrossRows(acrossRows)
        , FAcrossColumns(acrossColumns)
        , FLimits(limits)
    {
        for (int32_t cell = 0; cell < FBoard.Count(); ++cell)
            FCellTile[cell] = FTileCells[cell] = static_cast<uint8_t>(cell);
        if (FLabelled || FBoard.Cols != PatternSide || FBoard.Rows != PatternSide)
            return;
        FPattern.emplace(pair.Current, pair.Target);
        if (FPattern->Empty())
            FPattern.reset();
    }

    TSearchResult Run()
    {
        const int32_t rowsBound = WalkingBound(FAcrossRows);
        const int32_t columnsBound = WalkingBound(FAcrossColumns);
        int64_t lastIterationWork = 0;
        const auto iterate = [&](int32_t bound) {
            const int64_t workBefore = Work();
            // A search of labellings passes over a length whose parity none of them has; the
            // length after it grows as much as two lengths do.
            const bool passedOver = FLabelled && !FLabelled->Reaches(bound);
            if (lastIterationWork >= NearAfterWork && !FNear && !FLabelled
                && FBoard.Cols == PatternSide && FBoard.Rows == PatternSide)
                FNear = std::make_shared<const TNearTarget>(FTarget, NearRadius);
            const bool together = !passedOver && lastIterationWork >= TogetherAfterWork
                && bound > SubtreeDepth + 1 && FLimits.MaxThreads > 1 && TwoCores();
            const TDeepening step = together ? IterateTogether(bound, rowsBound, columnsBound)
                                             : Iterate(bound, rowsBound, columnsBound, nullptr);
            lastIterationWork
                = passedOver ? lastIterationWork * GrowthPerLength : Work() - workBefore;
            // Each length is searched with the labellings of its parity alone, whose bounds
            // say nothing about the next length.
            return TIteration {step, FLabelled ? bound + 1 : FNextBound};
        };
        const int32_t known
            = FLimits.KnownLength > 0 ? FLimits.KnownLength : std::numeric_limits<int32_t>::max();
        const auto [step, bound] = Deepen(rowsBound + columnsBound, known, iterate);
        TSearchResult result;
        result.Nodes = Nodes();
        if (step == TDeepening::Found) {
            result.Outcome = TSearchOutcome::Found;
            result.Moves = FPath;
        } else if (step == TDeepening::Stopped) {
            result.Outcome = FCancelled ? TSearchOutcome::Cancelled : TSearchOutcome::OverBudget;
            result.FewestPossible = bound;
        } else {
            result.Outcome = TSearchOutcome::KnownIsShortest;
        }
        return result;
    }

private:
    struct TLeaveBoard {
        void operator()(TLabelledBound* labelled) const { labelled->Leave(); }
    };

    int64_t Nodes() const { return FNodes + FHelperNodes; }
    int64_t Work() const
    {
        return Nodes() + (FLabelled ? FLabelled->Counted() + FHelperCounted : 0);
    }

    TDeepening Iterate(int32_t bound, int32_t rowsBound, int32_t columnsBound, TSubtreeShare* share)
    {
        std::optional<TSubtreeShare::TPart> part;
        if (share != nullptr)
            part.emplace(*share);
        FPart = part ? &*part : nullptr;
        FNextBound = std::numeric_limits<int32_t>::max();
        if (FLabelled)
            FLabelled->Aim(bound);
        const TDeepening step
            = Descend(0, bound, TSolverMove {}, false, 0, rowsBound, columnsBound);
        if (step == TDeepening::Found && part)
            part->Found(FPath);
        FPart = nullptr;
        return step;
    }

    // One iteration on two threads: this search and a copy of it, both at the start board.
    TDeepening IterateTogether(int32_t bound, int32_t rowsBound, int32_t columnsBound)
    {
        TSubtreeShare share(Nodes(), FLimits.MaxNodes, FLimits.Cancel);
        TShortestSearch helper(*this);
        helper.FNodes = 0;
        helper.FHelperNodes = 0;
        const int64_t countedBefore = FLabelled ? FLabelled->Counted() : 0;
        // A thread that fails stops the other's part at once.
        const auto iterate = [&](TShortestSearch& search) {
            try {
                search.Iterate(bound, rowsBound, columnsBound, &share);
            } catch (...) {
                share.Stop();
                throw;
            }
        };
        BothAtOnce([&] { iterate(*this); }, [&] { iterate(helper); });
        FHelperNodes += helper.FNodes;
        if (FLabelled)
            FHelperCounted += helper.FLabelled->Counted() - countedBefore;
        if (std::optional<TMoveList> solution = share.Solution()) {
            FPath = std::move(*solution);
            return TDeepening::Found;
        }
        if (share.Stopped()) {
            FCancelled = share.Cancelled();
            return TDeepening::Stopped;
        }
        FNextBound = std::min(FNextBound, helper.FNextBound);
        return TDeepening::Deeper;
    }

    bool CountNode()
    {
        ++FNodes;
        if (FPart != nullptr)
            return FPart->CountNode();
        if (FNodes > FLimits.MaxNodes)
            return false;
        if (FNodes % CancelCheckInterval == 0 && Cancelled()) {
            FCancelled = true;
            return false;
        }
        return true;
    }

    bool Cancelled() const
    {
        return FLimits.Cancel != nullptr && FLimits.Cancel->load(std::memory_order_relaxed);
    }

    // A column move keeps every tile in its column, so only the bound across rows changes with
    // it, and the other way round for a row move.
    TDeepening Descend(int32_t depth, int32_t bound, TSolverMove previous, bool hasPrevious,
        int32_t run, int32_t rowsBound, int32_t columnsBound)
    {
        if (FPart != nullptr && depth == SubtreeDepth) {
            if (FPart->Over())
                return TDeepening::Stopped;
            if (!FPart->Claim())
                return TDeepening::Deeper;
        }
        if (!CountNode())
            return TDeepening::Stopped;
        // The other bounds are counted only as far as they may end the branch. Close to the
        // target, the distance looked up is exact, or more than enough where none is found.
        int32_t rest = rowsBound + columnsBound;
        const int32_t enough = bound - depth + 1;
        const bool near = FNear && bound - depth <= FNear->Radius();
        if (near)
            rest = std::max(rest, FNear->Distance(FBoard));
        // The labellings live on this board stay so until the search leaves it.
        const std::unique_ptr<TLabelledBound, TLeaveBoard> entered(
            FLabelled ? &*FLabelled : nullptr);
        if (entered)
            rest = std::max(rest, entered->Enter(enough));
        if (rest < enough && !near && FPattern)
            rest = std::max(rest, FPattern->Bound(FTileCells, enough, FFirstPlacement));
        const int32_t estimate = depth + rest;
        if (estimate > bound) {
            FNextBound = std::min(FNextBound, estimate);
            return TDeepening::Deeper;
        }
        if (rowsBound + columnsBound == 0 && FBoard == FTarget)
            return TDeepening::Found;

        std::array<TSolverMove, MaxMovesOn> moves {};
        std::array<int32_t, MaxMovesOn> runs {};
        const std::size_t count = ListMoves(previous, hasPrevious, run, moves, runs);
        std::array<std::size_t, MaxMovesOn> order {};
        for (std::size_t i = 0; i < count; ++i)
            order[i] = i;
        if (depth < OrderedDepth)
            OrderByBound(moves, count, order);
        for (std::size_t n = 0; n < count; ++n) {
            const TSolverMove move = moves[order[n]];
            const bool isColumn = move.IsColumn;
            Apply(move, false);
            FPath.push_back(move);
            const TDeepening step = Descend(depth + 1, bound, move, true, runs[order[n]],
                isColumn ? WalkingBound(FAcrossRows) : rowsBound,
                isColumn ? columnsBound : WalkingBound(FAcrossColumns));
            if (step == TDeepening::Found)
                return step;
            FPath.pop_back();
            Apply(move.Inverse(), true);
            if (step == TDeepening::Stopped)
                return step;
        }
        return TDeepening::Deeper;
    }

    // The moves worth trying after the previous one, with the length of the run of turns of one
    // line each makes; returns how many.
    std::size_t ListMoves(TSolverMove previous, bool hasPrevious, int32_t run,
        std::array<TSolverMove, MaxMovesOn>& moves, std::array<int32_t, MaxMovesOn>& runs) const
    {
        std::size_t count = 0;
        for (const bool isColumn : {true, false}) {
            const int32_t length = FBoard.LineLength(isColumn);
            for (int32_t line = 0; line < FBoard.LineCount(isColumn); ++line)
                for (const int8_t shift : {int8_t {1}, int8_t {-1}}) {
                    const TSolverMove move {isColumn, static_cast<int8_t>(line), shift};
                    if (!WorthFollowing(hasPrevious ? &previous : nullptr, run, move, length))
                        continue;
                    moves[count] = move;
                    runs[count]
                        = hasPrevious && previous.IsColumn == isColumn && previous.Line == line
                        ? run + 1
                        : 1;
                    ++count;
                }
        }
        return count;
    }

    // The moves, by the bounds of the boards they reach and, among equal bounds, by the sums of
    // the patterns' bounds, equal ones in their given order; both threads of a shared search
    // come to the same order. Nearly every board the last length's search passes has the
    // greatest bound it may have, so that the bound alone tells little; the sum parts them.
    void OrderByBound(const std::array<TSolverMove, MaxMovesOn>& moves, std::size_t count,
        std::array<std::size_t, MaxMovesOn>& order)
    {
        std::array<std::pair<int32_t, int32_t>, MaxMovesOn> keys {};
        for (std::size_t i = 0; i < count; ++i) {
            Apply(moves[i], false);
            keys[i] = {FullBound(),
                FPattern        ? FPattern->Total(FTileCells)
                    : FLabelled ? FLabelled->Total()
                                : 0};
            Apply(moves[i].Inverse(), true);
        }
        std::stable_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count),
            [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    }

    // The bound counted in full rather than only as far as it ends a branch.
    int32_t FullBound()
    {
        int32_t bound = WalkingBound(FAcrossRows) + WalkingBound(FAcrossColumns);
        // Either bound reaches each value it is asked for or tells only that it is less.
        if (FPattern)
            for (int32_t more = 0;
                 (more = FPattern->Bound(FTileCells, bound + 1, FFirstPlacement)) > bound;)
                bound = more;
        if (FLabelled)
            while (FLabelled->Bound(bound + 1) > bound)
                ++bound;
        return bound;
    }

    int32_t WalkingBound(const TWalkingDistance* table) const
    {
        return table != nullptr ? table->Bound(FBoard) : 0;
    }

    void Apply(const TSolverMove& move, bool back)
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
            if (FLabelled)
                FLabelled->Place(tile, static_cast<uint8_t>(cells[i]));
        }
        if (FLabelled && back)
            FLabelled->MovedBack(move.IsColumn);
        else if (FLabelled)
            FLabelled->Moved(move.IsColumn);
    }

    TClassBoard FBoard;
    const TClassBoard& FTarget;
    // Which tile stands on each cell and where each tile stands, for the pattern bounds.
    TTileCells FCellTile {};
    TTileCells FTileCells {};
    std::optional<TLabelledBound> FLabelled;
    std::optional<TPatternBound> FPattern;
    std::shared_ptr<const TNearTarget> FNear;
    std::size_t FFirstPlacement = 0;
    const TWalkingDistance* FAcrossRows;
    const TWalkingDistance* FAcrossColumns;
    const TSearchLimits& FLimits;
    TMoveList FPath;
    int64_t FNodes = 0;
    // Nodes and labellings' bounds of the copies that shared iterations with this search.
    int64_t FHelperNodes = 0;
    int64_t FHelperCounted = 0;
    // This thread's part in an iteration shared with another.
    TSubtreeShare::TPart* FPart = nullptr;
    int32_t FNextBound = 0;
    bool FCancelled = false;
};

} // namespace

TSearchResult SearchShortest(const TClassPair& pair, const TSearchLimits& limits)
{
    // The pattern table of 4 x 4 boards may take a second to build where the table file does
    // not give it; a cancelled solver should not wait for it. The seventh tile's table is used
    // once PrepareSolver has built it, and never waited for.
    if (pair.Current.Cols == PatternSide && pair.Current.Rows == PatternSide) {
        try {
            TTilePatternTable::Shared(limits.Cancel);
        } catch (const TTableCancelled&) {
            return {TSearchOutcome::Cancelled, {}, 0};
        }
    }
    // The labellings' bounds include the walking distance of distinct tiles, whose tables are
    // shared; the tables of the board's own classes are built for each target.
    std::optional<TLabelledBound> labelled
        = TLabelledBound::Make(pair.Current, pair.Target, MaxLabellings);
    std::shared_ptr<const TWalkingDistance> acrossRows;
    std::shared_ptr<const TWalkingDistance> acrossColumns;
    if (!labelled) {
        acrossRows = TWalkingDistance::Build(pair.Target, true, MaxBoundStates);
        acrossColumns = TWalkingDistance::Build(pair.Target, false, MaxBoundStates);
        if (!acrossRows || !acrossColumns)
            return {TSearchOutcome::NoBound, {}, 0};
    }
    return TShortestSearch(pair, acrossRows.get(), acrossColumns.get(), std::move(labelled), limits)
        .Run();
}
