#include "play/BackgroundTask.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace {

// How much lower than its caller the work runs, in nice values, down to the lowest.
constexpr int BackgroundNice = 10;
constexpr int LowestNice = 19;

int ThreadNice()
{
    return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
}

} // namespace

// Shared by the task, its thread and the completion handed to the game's thread, so that
// whichever ends last frees it.
struct TBackgroundTask::TShared {
    std::atomic<bool> Cancel = false;
    TDone Done;
    std::exception_ptr Error;
    // Set once the work has ended. The hand-over to the game's thread may take locks that a
    // thread checker cannot see; this makes what the work wrote visible to the completion.
    std::atomic<bool> Ended = false;
    // Touched on the game's thread only.
    bool Dropped = false;
    bool Finished = false;
};

TBackgroundTask::TBackgroundTask(const TGameThread& gameThread, TWork work, TDone done)
    : FShared(std::make_shared<TShared>())
{
    FShared->Done = std::move(done);
    const int nice = std::min(ThreadNice() + BackgroundNice, LowestNice);
    FThread = std::thread([shared = FShared, work = std::move(work), nice, gameThread] {
        // The work yields to the interface's thread, so that the board's frames stay smooth on a
        // busy machine, also when the whole game was started with a lower priority; threads the
        // work starts inherit it. On Linux the priority is each thread's own. A refusal leaves
        // the thread as it was, which is fine.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice);
        try {
            work(shared->Cancel);
        } catch (...) {
            shared->Error = std::current_exception();
        }
        shared->Ended.store(true, std::memory_order_release);
        gameThread([shared] {
            if (shared->Ended.load(std::memory_order_acquire) && !shared->Dropped) {
                shared->Finished = true;
                shared->Done(shared->Error);
            }
        });
    });
}

TBackgroundTask::~TBackgroundTask()
{
    FShared->Cancel = true;
    FShared->Dropped = true;
    if (FThread.joinable())
        FThread.join();
}

bool TBackgroundTask::Finished() const
{
    return FShared->Finished;
}
