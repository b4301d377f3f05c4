// first-solve COLS ROWS DISTINCT [TABLES]: in a new process, the time in milliseconds from the
// first solve request to its answer, on the board of seed 0 of the solver bench, with the table
// file TABLES or, without it, with every table built in the process.
#include "ScrambledBoard.h"
#include "common/Random.h"
#include "solver/PuzzleSolver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: first-solve COLS ROWS DISTINCT [TABLES]\n");
        return 2;
    }
    const int32_t cols = std::atoi(argv[1]);
    const int32_t rows = std::atoi(argv[2]);
    TRuntimeRandom random(0);
    const TPuzzleBoard board = ScrambledBoard(random, cols, rows, std::atoi(argv[3]) != 0);
    if (argc > 4)
        UseSolverTableFile(argv[4]);
    const auto start = std::chrono::steady_clock::now();
    const std::optional<TSolution> solution = SolvePuzzle(board);
    const double ms
        = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
    std::printf("%.1f %zu\n", ms, solution ? solution->Moves.size() : 0);
    return solution ? 0 : 1;
}
