#pragma once

#include <cstdint>
#include <utility>

enum class TDeepening { Found, Stopped, Deeper };

struct TIteration {
    TDeepening Step = TDeepening::Deeper;
    // When deeper: the bound of the next iteration.
    int32_t Next = 0;
};

// Iterative deepening: iterate(bound) searches every way within the bound, and the bound rises to
// the next one it tells until a way is found, the search stops, or the next bound reaches past.
// Returns how the last iteration ended, Deeper when the bounds ran out, and its bound.
template <typename TIterate>
std::pair<TDeepening, int32_t> Deepen(int32_t bound, int32_t past, const TIterate& iterate)
{
    for (;;) {
        const TIteration iteration = iterate(bound);
        if (iteration.Step != TDeepening::Deeper || iteration.Next >= past)
            return {iteration.Step, bound};
        bound = iteration.Next;
    }
}
