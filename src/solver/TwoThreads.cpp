#include "solver/TwoThreads.h"

#include <array>
#include <exception>
#include <thread>

bool TwoCores()
{
    return std::thread::hardware_concurrency() > 1;
}

void BothAtOnce(const std::function<void()>& here, const std::function<void()>& there)
{
    std::exception_ptr failure;
    std::thread other([&] {
        try {
            there();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    try {
        here();
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (failure)
        std::rethrow_exception(failure);
}

int64_t OnTwoThreads(
    std::size_t count, int64_t nodes, const std::function<void(std::size_t, TNodeBudget&)>& work)
{
    std::array<TNodeBudget, 2> budgets {TNodeBudget {nodes / 2}, TNodeBudget {nodes - nodes / 2}};
    const auto run = [&](std::size_t first) {
        for (std::size_t i = first; i < count; i += 2)
            work(i, budgets[first]);
    };
    if (count < 2 || !TwoCores()) {
        run(0);
        run(1);
    } else {
        BothAtOnce([&] { run(0); }, [&] { run(1); });
    }
    return budgets[0].Used + budgets[1].Used;
}
