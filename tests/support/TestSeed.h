#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

// The seed of a randomised test: PW_SEED when set, else from the clock. Printed, so that a
// failing run can be repeated.
inline uint32_t TestSeed()
{
    const char* fixed = std::getenv("PW_SEED");
    const auto seed = fixed != nullptr
        ? static_cast<uint32_t>(std::stoul(fixed))
        : static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
    std::cout << "[   SEED   ] " << seed << " (PW_SEED=" << seed << " repeats it)\n";
    ::testing::Test::RecordProperty("seed", std::to_string(seed));
    return seed;
}
