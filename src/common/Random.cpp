#include "common/Random.h"

#include <chrono>

TRuntimeRandom::TRuntimeRandom()
{
    Randomize();
}

TRuntimeRandom::TRuntimeRandom(uint32_t seed)
    : FEngine(seed)
{
}

void TRuntimeRandom::Randomize()
{
    const auto wall
        = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const auto mono
        = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seeds {static_cast<uint32_t>(wall), static_cast<uint32_t>(wall >> 32),
        static_cast<uint32_t>(mono), static_cast<uint32_t>(mono >> 32)};
    FEngine.seed(seeds);
}

void TRuntimeRandom::Seed(uint32_t seed)
{
    FEngine.seed(seed);
}

int32_t TRuntimeRandom::Random(int32_t n)
{
    if (n < 1)
        return 0;
    return std::uniform_int_distribution<int32_t>(0, n - 1)(FEngine);
}

TRuntimeRandom& ProcessRandom()
{
    static TRuntimeRandom source;
    return source;
}

void Randomize()
{
    ProcessRandom().Randomize();
}
