#include "MemoryFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <vector>

namespace {

TEST(MemoryFile, AFileCutShortIsNotValid)
{
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 3; // writes past 3 bytes fail with EFBIG
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const TMemoryFile file(std::vector<uint8_t>(10, 7));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(file.Valid());
}

} // namespace
