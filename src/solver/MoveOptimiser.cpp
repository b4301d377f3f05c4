#include "solver/MoveOptimiser.h"

#include <array>

void AppendLineTurn(
    TMoveList& moves, bool isColumn, int32_t line, int32_t from, int32_t to, int32_t length)
{
    // A forward move carries each cell one place towards the start of the line.
    const int32_t forward = ((from - to) % length + length) % length;
    const bool useForward = forward * 2 <= length;
    const int32_t count = useForward ? forward : length - forward;
    for (int32_t i = 0; i < count; ++i)
        moves.push_back(
            {isColumn, static_cast<int8_t>(line), static_cast<int8_t>(useForward ? 1 : -1)});
}

TMoveList OptimiseMoves(const TMoveList& moves, int32_t cols, int32_t rows)
{
    TMoveList current = moves;
    for (;;) {
        TMoveList shorter;
        std::size_t start = 0;
        while (start < current.size()) {
            const bool isColumn = current[start].IsColumn;
            const int32_t length = isColumn ? rows : cols;
            std::array<int32_t, MaxLines> turn {};
            std::size_t end = start;
            for (; end < current.size() && current[end].IsColumn == isColumn; ++end)
                turn[current[end].Line] += current[end].Shift;
            for (int32_t line = 0; line < (isColumn ? cols : rows); ++line)
                AppendLineTurn(shorter, isColumn, line, turn[line], 0, length);
            start = end;
        }
        if (shorter == current)
            return current;
        current = std::move(shorter);
    }
}
