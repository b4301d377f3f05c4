#include "solver/LabelledBound.h"

#include <algorithm>
#include <limits>

namespace {

// Arrangements the walking-distance tables of distinct tiles number: 35^4.
constexpr int32_t DistinctBoundStates = 1'500'625;
constexpr int32_t Unbounded = 0xFF;
// Labellings are numbered in sixteen bits.
constexpr std::size_t MostLabellings = 1u << 16;
// Labellings whose totals Total counts: the guide need not be exact, and all of many cost more
// than the order they give saves.
constexpr std::size_t TotalLabellings = 8;

TClassBoard DistinctTarget()
{
    TClassBoard target;
    target.Cols = target.Rows = PatternSide;
    for (int32_t cell = 0; cell < PatternCells; ++cell)
        target.Cells[cell] = static_cast<uint8_t>(cell);
    return target;
}

} // namespace

std::optional<TLabelledBound> TLabelledBound::Make(
    const TClassBoard& start, const TClassBoard& target, std::size_t maxLabellings)
{
    if (start.Cols != PatternSide || start.Rows != PatternSide)
        return std::nullopt;
    std::vector<std::vector<uint8_t>> homes(MaxSolverCells);
    std::vector<std::vector<uint8_t>> tiles(MaxSolverCells);
    std::size_t count = 1;
    for (int32_t cell = 0; cell < PatternCells; ++cell) {
        homes[target.Cells[cell]].push_back(static_cast<uint8_t>(cell));
        tiles[start.Cells[cell]].push_back(static_cast<uint8_t>(cell));
        // The k-th tile of a class multiplies the ways by k.
        count *= tiles[start.Cells[cell]].size();
        if (count > maxLabellings || count > MostLabellings)
            return std::nullopt;
    }

    // Every order of each class's homes, given to its tiles in turn.
    std::vector<TLabelling> labellings;
    TLabelling labelling;
    labelling.Homes.Cols = labelling.Homes.Rows = PatternSide;
    auto label = [&](auto&& self, std::size_t kind) -> void {
        if (kind == homes.size()) {
            for (int32_t tile = 0; tile < PatternCells; ++tile) {
                labelling.CellOf[labelling.HomeOf[tile]] = static_cast<uint8_t>(tile);
                labelling.Homes.Cells[tile] = labelling.HomeOf[tile];
            }
            labelling.Odd = labelling.OddAtStart
                = OddArrangement(labelling.Homes, DistinctTarget());
            labellings.push_back(labelling);
            return;
        }
        std::vector<uint8_t> order = homes[kind];
        do {
            for (std::size_t i = 0; i < order.size(); ++i)
                labelling.HomeOf[tiles[kind][i]] = order[i];
            self(self, kind + 1);
        } while (std::next_permutation(order.begin(), order.end()));
    };
    label(label, 0);
    return TLabelledBound(DistinctTarget(), std::move(labellings));
}

TLabelledBound::TLabelledBound(const TClassBoard& target, std::vector<TLabelling> labellings)
    : FAcrossRows(TWalkingDistance::Build(target, true, DistinctBoundStates))
    , FAcrossColumns(TWalkingDistance::Build(target, false, DistinctBoundStates))
    , FPattern(target, target)
    , FLabellings(std::move(labellings))
{
    Aim(0);
}

void TLabelledBound::Aim(int32_t length)
{
    const bool odd = length % 2 == 1;
    FLive.clear();
    FLiveStarts.assign(1, 0);
    for (std::size_t n = 0; n < FLabellings.size(); ++n)
        if (FLabellings[n].OddAtStart == odd)
            FLive.push_back(static_cast<uint16_t>(n));
}

bool TLabelledBound::Reaches(int32_t length) const
{
    return std::any_of(FLabellings.begin(), FLabellings.end(),
        [odd = length % 2 == 1](
            const TLabelling& labelling) { return labelling.OddAtStart == odd; });
}

void TLabelledBound::Place(uint8_t tile, uint8_t cell)
{
    for (std::size_t n = LiveBegin(); n < LiveEnd(); ++n) {
        TLabelling& labelling = FLabellings[FLive[n]];
        const uint8_t home = labelling.HomeOf[tile];
        labelling.CellOf[home] = cell;
        labelling.Homes.Cells[cell] = home;
    }
}

void TLabelledBound::Moved(bool isColumn)
{
    for (std::size_t n = LiveBegin(); n < LiveEnd(); ++n) {
        TLabelling& labelling = FLabellings[FLive[n]];
        labelling.Odd = !labelling.Odd;
        int8_t& changed = isColumn ? labelling.AcrossRows : labelling.AcrossColumns;
        FTakenBack.push_back(changed);
        changed = -1;
    }
}

void TLabelledBound::MovedBack(bool isColumn)
{
    for (std::size_t n = LiveEnd(); n-- > LiveBegin();) {
        TLabelling& labelling = FLabellings[FLive[n]];
        labelling.Odd = !labelling.Odd;
        (isColumn ? labelling.AcrossRows : labelling.AcrossColumns) = FTakenBack.back();
        FTakenBack.pop_back();
    }
}

int32_t TLabelledBound::LabellingBound(TLabelling& labelling, int32_t enough)
{
    if (labelling.AcrossRows < 0)
        labelling.AcrossRows = static_cast<int8_t>(FAcrossRows->Bound(labelling.Homes));
    if (labelling.AcrossColumns < 0)
        labelling.AcrossColumns = static_cast<int8_t>(FAcrossColumns->Bound(labelling.Homes));
    auto withParity = [&labelling](int32_t bound) {
        return (bound % 2 == 1) != labelling.Odd ? bound + 1 : bound;
    };
    int32_t bound = withParity(labelling.AcrossRows + labelling.AcrossColumns);
    if (bound < enough)
        bound = std::max(
            bound, withParity(FPattern.Bound(labelling.CellOf, enough, FFirstPlacement)));
    if (bound < enough)
        bound = std::max(
            bound, withParity(FPattern.Bound(labelling.Homes.Cells, enough, FFirstInverse)));
    return bound;
}

int32_t TLabelledBound::Enter(int32_t enough)
{
    const std::size_t begin = LiveBegin();
    const std::size_t end = LiveEnd();
    FLiveStarts.push_back(end);
    FCounted += static_cast<int64_t>(end - begin);
    int32_t least = Unbounded;
    for (std::size_t n = begin; n < end; ++n) {
        const int32_t bound = LabellingBound(FLabellings[FLive[n]], enough);
        least = std::min(least, bound);
        if (bound < enough)
            FLive.push_back(FLive[n]);
    }
    return least;
}

void TLabelledBound::Leave()
{
    FLive.resize(FLiveStarts.back());
    FLiveStarts.pop_back();
}

int32_t TLabelledBound::Bound(int32_t enough)
{
    int32_t least = Unbounded;
    const std::size_t count = LiveEnd() - LiveBegin();
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t at = LiveBegin() + (FFirstLabelling + n) % count;
        least = std::min(least, LabellingBound(FLabellings[FLive[at]], enough));
        if (least < enough) {
            FFirstLabelling = at - LiveBegin();
            break;
        }
    }
    return least;
}

int32_t TLabelledBound::Total() const
{
    int32_t least = std::numeric_limits<int32_t>::max();
    const std::size_t end = std::min(LiveEnd(), LiveBegin() + TotalLabellings);
    for (std::size_t n = LiveBegin(); n < end; ++n) {
        const TLabelling& labelling = FLabellings[FLive[n]];
        least = std::min(
            least, FPattern.Total(labelling.CellOf) + FPattern.Total(labelling.Homes.Cells));
    }
    return least;
}
