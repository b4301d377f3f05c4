// Solution lengths and times of the solver per board size over fixed seeds, on the game's own
// boards and on boards of distinct tiles, both shuffled by the game's scramble. The counters
// give the median, mean and longest solution, the median and slowest solve, the share solved
// within 100 ms and the share solved in the fewest moves. PW_SOLVER_SEEDS sets the number of seeds
// (1,000 by default).
#include "ScrambledBoard.h"
#include "solver/PuzzleSolver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int32_t DefaultSeeds = 1000;

int32_t SeedCount()
{
    const char* count = std::getenv("PW_SOLVER_SEEDS");
    return count != nullptr ? std::max(1, std::atoi(count)) : DefaultSeeds;
}

template <typename T> T Median(std::vector<T> values)
{
    std::nth_element(values.begin(),
        values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

void BM_Solve(benchmark::State& state)
{
    const auto cols = static_cast<int32_t>(state.range(0));
    const auto rows = static_cast<int32_t>(state.range(1));
    const bool distinct = state.range(2) != 0;
    const int32_t seeds = SeedCount();

    // Tables a size needs are read from the table file or built on its first solve; that time
    // is reported on its own, and the tables that solves use once built are built before the
    // boards are timed.
    UseSolverTableFile(PW_PROGRAM_DIR "/Warden.tables");
    TRuntimeRandom warmRandom(0);
    const auto warmStart = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(SolvePuzzle(ScrambledBoard(warmRandom, cols, rows, distinct)));
    const double warmMs
        = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - warmStart)
              .count();

    PrepareSolver(cols, rows);

    std::vector<double> lengths;
    std::vector<double> times;
    int32_t shortest = 0;
    for (auto _ : state) {
        for (int32_t seed = 1; seed <= seeds; ++seed) {
            TRuntimeRandom random(static_cast<uint32_t>(seed));
            const TPuzzleBoard board = ScrambledBoard(random, cols, rows, distinct);
            const auto start = std::chrono::steady_clock::now();
            const std::optional<TSolution> solution = SolvePuzzle(board);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            lengths.push_back(static_cast<double>(solution->Moves.size()));
            shortest += solution->Shortest ? 1 : 0;
        }
    }
    state.SetLabel(distinct ? "distinct tiles" : "game boards");
    state.counters["len_median"] = Median(lengths);
    // Lengths are whole moves: the mean shows a change the median hides.
    state.counters["len_mean"] = std::accumulate(lengths.begin(), lengths.end(), 0.0)
        / static_cast<double>(lengths.size());
    state.counters["len_max"] = *std::max_element(lengths.begin(), lengths.end());
    state.counters["ms_median"] = Median(times);
    state.counters["ms_max"] = *std::max_element(times.begin(), times.end());
    // A hint should feel instant: the share of solves that took no longer than this.
    constexpr double QuickMs = 100.0;
    state.counters["in_100ms"] = static_cast<double>(std::count_if(times.begin(), times.end(),
                                     [](double ms) { return ms <= QuickMs; }))
        / static_cast<double>(times.size());
    state.counters["shortest"]
        = static_cast<double>(shortest) / static_cast<double>(lengths.size());
    state.counters["first_ms"] = warmMs;
}

} // namespace

BENCHMARK(BM_Solve)
    ->ArgNames({"cols", "rows", "distinct"})
    ->ArgsProduct({{3, 4, 5}, {3, 4, 5}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
