#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The most a process may hold at once while it builds the tables of any one size.
constexpr long MostPeakKb = 24'000;

// The peak resident size, in kB, of a fresh process that builds the tables for the size.
long PeakOfBuild(int cols, int rows)
{
    const std::string command
        = std::string(PW_TABLE_PROBE) + " " + std::to_string(cols) + " " + std::to_string(rows);
    const std::unique_ptr<FILE, int (*)(FILE*)> probe(popen(command.c_str(), "r"), pclose);
    long peak = -1;
    if (!probe || std::fscanf(probe.get(), "%ld", &peak) != 1)
        return -1;
    return peak;
}

TEST(TableMemory, BuildingTheTablesOfAnySizeStaysUnderItsPeak)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory is not the tables'";
#endif
    for (const auto& [cols, rows] : {std::pair {4, 4}, {5, 5}, {4, 5}, {5, 3}}) {
        const long peak = PeakOfBuild(cols, rows);
        EXPECT_GT(peak, 0) << cols << " x " << rows;
        EXPECT_LT(peak, MostPeakKb) << cols << " x " << rows;
    }
}

} // namespace
