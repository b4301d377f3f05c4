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
    // Touched on the loop's thread only.
    bool Dropped = false;
    bool Finished = false;
};

TBackgroundTask::TBackgroundTask(TWork work, TDone done)
    : FShared(std::make_shared<TShared>())
{
    FShared->Done = std::move(done);
    const int nice = std::min(ThreadNice() + BackgroundNice, LowestNice);
    FThread = std::thread([shared = FShared, work = std::move(work), nice] {
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
        // The idle source owns a reference until it has run or been dropped with the loop.
        auto* hold = new std::shared_ptr<TShared>(shared);
        g_idle_add_full(
            G_PRIORITY_DEFAULT,
            [](gpointer data) -> gboolean {
                TShared& state = **static_cast<std::shared_ptr<TShared>*>(data);
                if (!state.Dropped) {
                    state.Finished = true;
                    RunGuarded([&state] { state.Done(state.Error); });
                }
                return G_SOURCE_REMOVE;
            },
            hold, [](gpointer data) { delete static_cast<std::shared_ptr<TShared>*>(data); });
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
