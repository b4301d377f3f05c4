#include "platform/EndSignals.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <iterator>

namespace {

std::ptrdiff_t Threads()
{
    return std::distance(std::filesystem::directory_iterator("/proc/self/task"),
        std::filesystem::directory_iterator());
}

} // namespace

// A real signal to this process reaches the handler on the loop, with no thread started for it
// (every start would pay for one), and once the object has gone the signal's default action is
// back.
TEST(EndSignals, EachEndSignalCallsTheHandlerOnTheLoopAndLeavesTheDefaultAfter)
{
    const std::ptrdiff_t threads = Threads();
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        int calls = 0;
        {
            const TEndSignals signals([&calls] { ++calls; });
            ASSERT_EQ(::raise(signal), 0);
            for (int turn = 0; turn < 1000 && calls == 0; ++turn)
                if (!g_main_context_iteration(nullptr, FALSE))
                    g_usleep(1000);
        }
        struct sigaction action { };
        ::sigaction(signal, nullptr, &action);

        EXPECT_EQ(calls, 1) << signal;
        EXPECT_EQ(Threads(), threads) << signal;
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
}
