#include "platform/BackgroundTask.h"

#include "platform/MessageBox.h"

#include <glib.h>
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

// Shared by the task, its thread and the completion queued on the loop, so that whichever ends
// last frees it.
struct TBackgroundTask::TShared {
    std::atomic<bool> Cancel = false;
    TDone Done;
    std::exception_ptr Error;
    // Set once the work has ended. The hand-over to the loop takes GLib's locks, which a thread
    // checker cannot see; this makes what the work wrote visible to the completion in its eyes.
    std::atomic<bool> Ended = false;
    // Touched on the loop's thread only.
    bool Dropped = false;
    bool Finished = false;
};

TBackgroundTask::TBackgroundTask(TWork work, TDone done)
    : FShared(std::make_shared<TShared>())
{
    FShared->Done = std::move(done);
    const int nice = std::min(ThreadNice() + BackgroundNice, LowestNice);
    // The idle source owns a reference until it has run or been dropped with the loop. It is
    // made on this thread, before the work's, so that only the loop's thread reads it.
    auto hold = std::make_unique<std::shared_ptr<TShared>>(FShared);
    FThread = std::thread([shared = FShared, work = std::move(work), nice, hold = hold.get()] {
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
        g_idle_add_full(
            G_PRIORITY_DEFAULT,
            [](gpointer data) -> gboolean {
                TShared& state = **static_cast<std::shared_ptr<TShared>*>(data);
                if (state.Ended.load(std::memory_order_acquire) && !state.Dropped) {
                    state.Finished = true;
                    RunGuarded([&state] { state.Done(state.Error); });
                }
                return G_SOURCE_REMOVE;
            },
            hold, [](gpointer data) { delete static_cast<std::shared_ptr<TShared>*>(data); });
    });
    hold.release();
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
