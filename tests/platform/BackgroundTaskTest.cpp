#include "play/BackgroundTask.h"

#include "common/KelException.h"
#include "platform/MainLoop.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// Runs the loop until the condition holds, for the given time at most.
template <typename F>
bool RunLoopUntil(F condition, std::chrono::milliseconds most = std::chrono::seconds(2))
{
    const auto until = std::chrono::steady_clock::now() + most;
    while (!condition() && std::chrono::steady_clock::now() < until)
        if (!g_main_context_iteration(nullptr, FALSE))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

TEST(BackgroundTaskTest, CompletionRunsOnTheLoopsThreadWithTheWorksResultOrError)
{
    for (const bool fails : {false, true}) {
        std::thread::id workThread, doneThread;
        std::string outcome;
        TBackgroundTask task(
            RunOnMainLoop,
            [&](const std::atomic<bool>&) {
                workThread = std::this_thread::get_id();
                if (fails)
                    throw KelException("no way back");
            },
            [&](std::exception_ptr error) {
                doneThread = std::this_thread::get_id();
                try {
                    if (error)
                        std::rethrow_exception(error);
                    outcome = "done";
                } catch (const KelException& e) {
                    outcome = e.what();
                }
            });
        ASSERT_TRUE(RunLoopUntil([&] { return task.Finished(); }));
        EXPECT_EQ(outcome, fails ? "no way back" : "done");
        EXPECT_NE(workThread, std::this_thread::get_id());
        EXPECT_EQ(doneThread, std::this_thread::get_id());
    }
}

TEST(BackgroundTaskTest, TheWorkAndTheThreadsItStartsRunBelowTheLoopsPriority)
{
    const int loop = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    if (loop >= 19)
        GTEST_SKIP() << "already at the lowest priority";
    int work = loop;
    int started = loop;
    TBackgroundTask task(
        RunOnMainLoop,
        [&](const std::atomic<bool>&) {
            work = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
            std::thread([&] {
                started = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
            }).join();
        },
        [](std::exception_ptr) {});
    ASSERT_TRUE(RunLoopUntil([&] { return task.Finished(); }));

    EXPECT_GT(work, loop);
    EXPECT_EQ(started, work);
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())), loop);
}

TEST(BackgroundTaskTest, TheWorkRunsTenBelowItsCallerAtAnyPriorityUpToTheLowest)
{
    // The caller runs on a thread of its own, whose priority it may lower and not raise again.
    for (const int lower : {5, 10, 15}) {
        std::atomic<int> caller = -1, work = -1;
        std::thread([&] {
            const auto self = static_cast<id_t>(gettid());
            setpriority(PRIO_PROCESS, self, getpriority(PRIO_PROCESS, self) + lower);
            caller = getpriority(PRIO_PROCESS, self);
            TBackgroundTask task(
                RunOnMainLoop,
                [&](const std::atomic<bool>&) {
                    work = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
                },
                [](std::exception_ptr) {});
            while (work == -1)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }).join();

        EXPECT_EQ(work, std::min(caller + 10, 19)) << "caller at " << caller;
    }
}

TEST(BackgroundTaskTest, DestroyingTheTaskCancelsTheWorkAndDropsItsCompletion)
{
    std::atomic<bool> started = false, sawCancel = false;
    bool done = false;
    {
        TBackgroundTask task(
            RunOnMainLoop,
            [&](const std::atomic<bool>& cancel) {
                started = true;
                while (!cancel)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                sawCancel = true;
            },
            [&](std::exception_ptr) { done = true; });
        while (!started)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(sawCancel);
    EXPECT_FALSE(RunLoopUntil([&] { return done; }, std::chrono::milliseconds(200)));
}

} // namespace
