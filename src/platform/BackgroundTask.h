#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

// Work done on a thread of its own, so that the message loop never waits for it. When the work
// returns, its completion runs on the message loop's thread, with the exception the work raised
// (null when it succeeded). Destroying the task asks the work to stop, waits for the thread, and
// drops a completion that has not run yet.
class TBackgroundTask {
public:
    using TWork = std::function<void(const std::atomic<bool>& cancel)>;
    using TDone = std::function<void(std::exception_ptr error)>;

    TBackgroundTask(TWork work, TDone done);
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
