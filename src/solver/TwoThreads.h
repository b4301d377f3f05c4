#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// Nodes a run of searches may still visit, and those it visited.
struct TNodeBudget {
    int64_t Left = 0;
    int64_t Used = 0;
};

// Whether a second thread can run beside this one rather than take turns with it.
bool TwoCores();

// Runs here() on this thread and there() on another at once, and returns when both have ended.
// A failure of either is raised then, this thread's first.
void BothAtOnce(const std::function<void()>& here, const std::function<void()>& there);

// Runs work(index, budget) for indexes 0..count-1, dealt alternately to two threads where the
// machine has two cores, each thread with half the nodes and going through its indexes in order:
// what each finds does not depend on the other's speed. Returns the nodes used.
int64_t OnTwoThreads(
    std::size_t count, int64_t nodes, const std::function<void(std::size_t, TNodeBudget&)>& work);
