#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs body in a child process as an unprivileged user, so that permission checks hold even
// when the suite runs as root: the child then hands the folder to the user "nobody" and drops
// to its ids first. The child's failures are reported as they happen and fail the test here.
inline void RunUnprivileged(const std::filesystem::path& folder, const std::function<void()>& body)
{
    constexpr uid_t Nobody = 65534;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        bool dropped = ::geteuid() != 0;
        if (!dropped) {
            std::error_code error;
            ::chown(folder.c_str(), Nobody, Nobody);
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
                ::lchown(entry.path().c_str(), Nobody, Nobody);
            dropped
                = ::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0;
        }
        if (dropped)
            body();
        std::fflush(nullptr);
        ::_exit(!dropped ? 2 : ::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the unprivileged child did not finish";
    EXPECT_NE(WEXITSTATUS(status), 2) << "cannot drop to an unprivileged user";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged part failed (see above)";
}
