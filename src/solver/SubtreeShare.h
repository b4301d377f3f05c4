#pragma once

#include "solver/SolverBoard.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

// One iteration of a depth-first search shared between threads by its subtrees. Every thread
// walks the same nodes down to the roots of the subtrees, in the same order, and so numbers the
// subtrees alike; each searches the ones it claims. The solution of the lowest subtree wins,
// which is the one a single thread would have found, whatever the threads' timing.
class TSubtreeShare {
public:
    // The nodes the search visited before this iteration count against maxNodes too.
    TSubtreeShare(int64_t nodesBefore, int64_t maxNodes, const std::atomic<bool>* cancel);

    // One thread's part in the iteration.
    class TPart {
    public:
        explicit TPart(TSubtreeShare& share)
            : FShare(&share)
        {
        }

        // At the root of the next subtree: whether this thread searches it. Each thread takes
        // the next unclaimed subtree when it has passed its last.
        bool Claim();
        // Whether nothing left to this thread can matter: the iteration stopped, or an earlier
        // subtree holds a solution.
        bool Over() const;
        // Counts a node of this thread; false when it should stop.
        bool CountNode();
        // A solution in the subtree being searched.
        void Found(const TMoveList& moves);

    private:
        TSubtreeShare* FShare;
        int64_t FNodes = 0;
        int64_t FSubtreesSeen = 0;
        int64_t FClaimed = -1;
        int64_t FSubtree = -1;
    };

    // Call once every thread has finished its part.
    std::optional<TMoveList> Solution() const;
    bool Stopped() const { return FStopped; }
    bool Cancelled() const { return FCancelled; }
    // Stops every thread, as when one of them failed.
    void Stop() { FStopped = true; }

private:
    static constexpr int64_t NoSubtree = INT64_MAX;

    int64_t FMaxNodes;
    const std::atomic<bool>* FCancel;
    std::atomic<int64_t> FNodes;
    std::atomic<int64_t> FNextSubtree {0};
    std::atomic<int64_t> FFoundIn {NoSubtree};
    std::atomic<bool> FStopped {false};
    std::atomic<bool> FCancelled {false};
    std::mutex FFoundLock;
    TMoveList FFoundMoves;
};
