#include "solver/SubtreeShare.h"

namespace {

// How often a thread adds its nodes to the shared count and looks for news.
constexpr int64_t CheckInterval = 1'024;

} // namespace

TSubtreeShare::TSubtreeShare(int64_t nodesBefore, int64_t maxNodes, const std::atomic<bool>* cancel)
    : FMaxNodes(maxNodes)
    , FCancel(cancel)
    , FNodes(nodesBefore)
{
}

std::optional<TMoveList> TSubtreeShare::Solution() const
{
    if (FFoundIn == NoSubtree)
        return std::nullopt;
    return FFoundMoves;
}

bool TSubtreeShare::TPart::Claim()
{
    const int64_t subtree = FSubtreesSeen++;
    while (FClaimed < subtree)
        FClaimed = FShare->FNextSubtree.fetch_add(1);
    FSubtree = subtree;
    return FClaimed == subtree;
}

// Subtrees come in order, so once an earlier one holds a solution, none left can win.
bool TSubtreeShare::TPart::Over() const
{
    return FShare->FStopped || FShare->FFoundIn < FSubtreesSeen;
}

bool TSubtreeShare::TPart::CountNode()
{
    if (++FNodes % CheckInterval != 0)
        return true;
    const int64_t total = FShare->FNodes.fetch_add(CheckInterval) + CheckInterval;
    if (FShare->FCancel != nullptr && FShare->FCancel->load(std::memory_order_relaxed))
        FShare->FCancelled = true;
    if (total > FShare->FMaxNodes || FShare->FCancelled)
        FShare->FStopped = true;
    return !FShare->FStopped && FShare->FFoundIn > FSubtree;
}

void TSubtreeShare::TPart::Found(const TMoveList& moves)
{
    const std::lock_guard lock(FShare->FFoundLock);
    if (FSubtree < FShare->FFoundIn) {
        FShare->FFoundIn = FSubtree;
        FShare->FFoundMoves = moves;
    }
}
