#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

// Raised when a table's build, or the wait for it, is cancelled.
struct TTableCancelled : std::exception { };

// A table built by the first caller that needs it and shared by all later ones, from any thread.
// Callers that come while another builds it wait for it, but not past their cancel flag: a
// cancelled builder's build raises TTableCancelled and a cancelled waiter raises it, so that no
// caller's owner is held up by another's build. A cancelled build leaves the table for the next
// caller to build afresh.
template <typename T> class TBuiltOnce {
public:
    template <typename TBuild> const T& Get(const std::atomic<bool>* cancel, TBuild&& build)
    {
        // How often a waiter looks at its cancel flag.
        constexpr auto CancelCheckInterval = std::chrono::milliseconds(10);
        std::unique_lock lock(FMutex);
        while (!FTable) {
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
                throw TTableCancelled();
            if (FBuilding) {
                FChanged.wait_for(lock, CancelCheckInterval);
                continue;
            }
            FBuilding = true;
            lock.unlock();
            std::unique_ptr<const T> table;
            try {
                table = build();
            } catch (...) {
                lock.lock();
                FBuilding = false;
                FChanged.notify_all();
                throw;
            }
            lock.lock();
            FTable = std::move(table);
            FBuilt = true;
            FBuilding = false;
            FChanged.notify_all();
        }
        return *FTable;
    }

    bool Built() const { return FBuilt; }

private:
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::unique_ptr<const T> FTable;
    std::atomic<bool> FBuilt = false;
    bool FBuilding = false;
};
