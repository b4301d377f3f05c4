#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

// Runs a job on the game's thread, later; called from any thread. The platform's runs it from
// its message loop, a test's from a queue it drains.
using TGameThread = std::function<void(std::function<void()> job)>;

// Work done on a thread of its own, so that the game's thread never waits for it. When the work
// returns, its completion runs on the game's thread, with the exception the work raised (null
// when it succeeded). Destroying the task asks the work to stop, waits for the thread, and drops
// a completion that has not run yet.
class TBackgroundTask {
public:
    using TWork = std::function<void(const std::atomic<bool>& cancel)>;
    using TDone = std::function<void(std::exception_ptr error)>;

    TBackgroundTask(const TGameThread& gameThread, TWork work, TDone done);
    ~TBackgroundTask();
    TBackgroundTask(const TBackgroundTask&) = delete;
    TBackgroundTask& operator=(const TBackgroundTask&) = delete;

    // Whether the completion has run.
    bool Finished() const;

private:
    struct TShared;
    std::shared_ptr<TShared> FShared;
    std::thread FThread;
};
