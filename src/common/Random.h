#pragma once

#include <cstdint>
#include <random>

// Where the game and the about window get their random numbers; tests substitute a scripted
// source.
class TRandomSource {
public:
    virtual ~TRandomSource() = default;
    // A uniform integer in [0, n); 0 when n is below 1, as there is nothing to choose from.
    virtual int32_t Random(int32_t n) = 0;
};

// The run-time generator: a Mersenne twister seeded from the clock, or with a given seed when a
// repeatable sequence is wanted.
class TRuntimeRandom : public TRandomSource {
public:
    TRuntimeRandom();
    explicit TRuntimeRandom(uint32_t seed);

    // Seeds from the wall clock and the monotonic clock together, so that two seedings in quick
    // succession still differ.
    void Randomize();
    void Seed(uint32_t seed);
    int32_t Random(int32_t n) override;

private:
    std::mt19937 FEngine;
};

// The one generator of the process.
TRuntimeRandom& ProcessRandom();

// Seeds the process generator from the clock (at start-up and when the about window is made).
void Randomize();
