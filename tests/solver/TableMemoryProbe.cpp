// Builds the solver's tables for one board size in a process of their own and prints the peak
// resident size the process reached, in kB, as the kernel counts it.
#include "solver/PuzzleSolver.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    if (!PrepareSolver(std::atoi(argv[1]), std::atoi(argv[2])))
        return 1;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) {
            std::printf("%ld\n", std::strtol(line.c_str() + 6, nullptr, 10));
            return 0;
        }
    return 1;
}
