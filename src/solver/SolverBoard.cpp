#include "solver/SolverBoard.h"

#include "common/KelException.h"

#include <algorithm>
#include <map>

namespace {

// Everything the solved test compares: the arms, and the colour of each present arm, or the end
// cap's colour for a cell without arms. Two cells with the same key are interchangeable.
std::array<uint8_t, 1 + ColourSlots> ClassKey(const TRoadCell& cell)
{
    std::array<uint8_t, 1 + ColourSlots> key {};
    key[0] = cell.Arms;
    if (cell.Arms == 0)
        key[1 + EndCapSlot] = cell.ArmColours[EndCapSlot];
    for (int32_t k = 0; k < ArmSlots; ++k)
        if ((cell.Arms & (1u << k)) != 0)
            key[1 + k] = cell.ArmColours[k];
    return key;
}

} // namespace

void TClassBoard::Apply(const TSolverMove& move)
{
    const int32_t length = LineLength(move.IsColumn);
    std::array<uint8_t, MaxLines> line {};
    for (int32_t i = 0; i < length; ++i) {
        const int32_t from = (i + move.Shift + length) % length;
        line[i] = move.IsColumn ? At(move.Line, from) : At(from, move.Line);
    }
    for (int32_t i = 0; i < length; ++i)
        Cells[move.IsColumn ? Index(move.Line, i) : Index(i, move.Line)] = line[i];
}

void TClassBoard::Apply(const TMoveList& moves)
{
    for (const TSolverMove& move : moves)
        Apply(move);
}

TClassPair ClassifyBoards(
    const TRoadBoard& current, const TRoadBoard& target, int32_t cols, int32_t rows)
{
    if (cols < MinLines || cols > MaxLines || rows < MinLines || rows > MaxLines)
        throw KelException("Solve: the board must have 3 to 5 columns and rows");

    TClassPair pair;
    pair.Current.Cols = pair.Target.Cols = cols;
    pair.Current.Rows = pair.Target.Rows = rows;
    std::map<std::array<uint8_t, 1 + ColourSlots>, uint8_t> classes;
    std::array<int32_t, MaxSolverCells> balance {};
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < cols; ++c) {
            const auto goal = classes.try_emplace(
                ClassKey(target.Cell(c + 1, r + 1)), static_cast<uint8_t>(classes.size()));
            const auto now = classes.try_emplace(
                ClassKey(current.Cell(c + 1, r + 1)), static_cast<uint8_t>(classes.size()));
            pair.Target.Cells[pair.Target.Index(c, r)] = goal.first->second;
            pair.Current.Cells[pair.Current.Index(c, r)] = now.first->second;
            ++balance[goal.first->second];
            --balance[now.first->second];
        }
    if (std::any_of(balance.begin(), balance.end(), [](int32_t b) { return b != 0; }))
        throw KelException("Solve: the boards do not hold the same tiles");
    pair.ClassCount = static_cast<int32_t>(classes.size());
    return pair;
}

bool HasRepeatedClass(const TClassBoard& board)
{
    std::array<bool, MaxSolverCells> seen {};
    for (int32_t i = 0; i < board.Count(); ++i) {
        if (seen[board.Cells[i]])
            return true;
        seen[board.Cells[i]] = true;
    }
    return false;
}

bool OddArrangement(const TClassBoard& current, const TClassBoard& target)
{
    std::array<int32_t, MaxSolverCells> home {};
    for (int32_t i = 0; i < target.Count(); ++i)
        home[target.Cells[i]] = i;
    std::array<int32_t, MaxSolverCells> goesTo {};
    for (int32_t i = 0; i < current.Count(); ++i)
        goesTo[i] = home[current.Cells[i]];
    // Each cycle of length n takes n - 1 transpositions.
    bool odd = false;
    std::array<bool, MaxSolverCells> visited {};
    for (int32_t i = 0; i < current.Count(); ++i)
        for (int32_t j = i; !visited[j]; j = goesTo[j]) {
            visited[j] = true;
            if (goesTo[j] != i)
                odd = !odd;
        }
    return odd;
}

TArrow ArrowForMove(const TSolverMove& move, int32_t cols, int32_t rows)
{
    const int32_t lines = move.IsColumn ? cols : rows;
    return {move.IsColumn, move.Line + 1 + (move.Shift > 0 ? 0 : lines)};
}
