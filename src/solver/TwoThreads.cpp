#include "solver/TwoThreads.h"

#include <array>
#include <exception>
#include <thread>

// Runs work(index, budget) for indexes 0..count-1, dealt alternately to two threads where the
// machine has two cores, each thread with half the nodes and going through its indexes in order:
// what each finds does not depend on the other's speed. Returns the nodes used.
int64_t OnTwoThreads(
    std::size_t count, int64_t nodes, const std::function<void(std::size_t, TNodeBudget&)>& work)
{
    std::array<TNodeBudget, 2> budgets {TNodeBudget {nodes / 2}, TNodeBudget {nodes - nodes / 2}};
    const auto run = [&](std::size_t first) {
        for (std::size_t i = first; i < count; i += 2)
            work(i, budgets[first]);
    };
    if (count < 2 || std::thread::hardware_concurrency() < 2) {
        run(0);
        run(1);
    } else {
        std::exception_ptr failure;
        std::thread other([&] {
            try {
                run(1);
            } catch (...) {
                failure = std::current_exception();
            }
        });
        try {
            run(0);
        } catch (...) {
            other.join();
            throw;
        }
        other.join();
        if (failure)
            std::rethrow_exception(failure);
    }
    return budgets[0].Used + budgets[1].Used;
}
