#pragma once

#include "common/Random.h"
#include "support/TestSeed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Raised when a scripted draw cannot be served, so that the code under test stops at once.
class TScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TDraw {
    int32_t N = 0;
    int32_t Value = 0;
};

// Serves the given values in order and records every draw. Past the end of the script it fails
// the test, unless a fallback seed was given.
class TScriptedRandom : public TRandomSource {
public:
    explicit TScriptedRandom(std::vector<int32_t> script = {})
        : FScript(std::move(script))
    {
    }

    TScriptedRandom& Then(int32_t value, std::size_t times = 1)
    {
        // A loop rather than insert(end, n, value): g++ 12 at -O2 warns falsely on the latter.
        for (std::size_t i = 0; i < times; ++i)
            FScript.push_back(value);
        return *this;
    }

    void FallBack(uint32_t seed) { FFallback.emplace(seed); }

    int32_t Random(int32_t n) override
    {
        const std::size_t draw = Draws.size() + 1;
        int32_t value = 0;
        if (FNext < FScript.size()) {
            value = FScript[FNext++];
        } else if (FFallback) {
            value = FFallback->Random(n);
        } else {
            ADD_FAILURE() << "random script ran out at draw " << draw << ", Random(" << n << ")";
            throw TScriptError("random script ran out");
        }
        if (value < 0 || value >= n) {
            ADD_FAILURE() << "draw " << draw << ": scripted " << value << " for Random(" << n
                          << ")";
            throw TScriptError("scripted value out of range");
        }
        Draws.push_back({n, value});
        return value;
    }

    std::vector<int32_t> AskedN() const
    {
        std::vector<int32_t> asked;
        for (const TDraw& d : Draws)
            asked.push_back(d.N);
        return asked;
    }

    std::size_t Unused() const { return FScript.size() - FNext; }

    std::vector<TDraw> Draws;

private:
    std::vector<int32_t> FScript;
    std::size_t FNext = 0;
    std::optional<TRuntimeRandom> FFallback;
};
