#include "common/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int32_t> Sequence(TRandomSource& random, int32_t n, int32_t count)
{
    std::vector<int32_t> values;
    values.reserve(static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        values.push_back(random.Random(n));
    return values;
}

} // namespace

TEST(RuntimeRandom, DrawsCoverTheWholeRangeAndNothingBeyond)
{
    TRuntimeRandom random(20240601);
    for (int32_t n : {1, 2, 3, 10, 100, 256}) {
        std::vector<int32_t> hits(n, 0);
        for (int32_t value : Sequence(random, n, 200 * n)) {
            ASSERT_TRUE(value >= 0 && value < n) << value << " from Random(" << n << ")";
            ++hits[value];
        }
        for (int32_t v = 0; v < n; ++v)
            EXPECT_GT(hits[v], 120) << v << " from Random(" << n << ") is too rare";
    }
}

TEST(RuntimeRandom, NothingToChooseFromGivesZero)
{
    TRuntimeRandom random(1);
    EXPECT_EQ(random.Random(0), 0);
    EXPECT_EQ(random.Random(-5), 0);
}

TEST(RuntimeRandom, ASeedRepeatsItsSequenceAndTheClockChangesIt)
{
    TRuntimeRandom random(42);
    const std::vector<int32_t> first = Sequence(random, 1000000, 8);
    random.Seed(42);
    EXPECT_EQ(Sequence(random, 1000000, 8), first);
    random.Seed(42);
    random.Randomize();
    EXPECT_NE(Sequence(random, 1000000, 8), first);
}

TEST(ProcessRandom, IsOneSourceThatRandomizeReseedsFromTheClock)
{
    TRuntimeRandom& process = ProcessRandom();
    EXPECT_EQ(&process, &ProcessRandom());
    process.Seed(42);
    const std::vector<int32_t> first = Sequence(process, 1000000, 8);
    process.Seed(42);

    Randomize();

    EXPECT_NE(Sequence(ProcessRandom(), 1000000, 8), first);
}
