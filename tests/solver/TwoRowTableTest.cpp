#include "solver/TwoRowTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

namespace {

using TArrangement = std::vector<uint8_t>;

// A macro of four cells that takes each cell's tile from the cell `from` says.
TMacroTable::TMacro Macro(std::array<uint8_t, 4> from, int32_t cost)
{
    TMacroTable::TMacro macro;
    std::copy(from.begin(), from.end(), macro.From.begin());
    macro.Cost = cost;
    return macro;
}

// The cheapest cost from the solved arrangement to every other, by relaxing every macro until
// nothing changes: each macro's inverse is among them, so it is also the cost back.
std::map<TArrangement, int32_t> Relaxed(
    const std::vector<TMacroTable::TMacro>& macros, int32_t cells, int32_t tracked)
{
    TArrangement solved(static_cast<std::size_t>(tracked));
    for (int32_t i = 0; i < tracked; ++i)
        solved[i] = static_cast<uint8_t>(i);
    std::map<TArrangement, int32_t> cost {{solved, 0}};
    for (bool changed = true; changed;) {
        changed = false;
        for (const auto& [places, known] : std::map(cost))
            for (const TMacroTable::TMacro& macro : macros) {
                TArrangement moved = places;
                for (uint8_t& place : moved)
                    place = static_cast<uint8_t>(
                        std::find(macro.From.begin(), macro.From.begin() + cells, place)
                        - macro.From.begin());
                const auto found = cost.find(moved);
                if (found == cost.end() || found->second > known + macro.Cost) {
                    cost[moved] = known + macro.Cost;
                    changed = true;
                }
            }
    }
    return cost;
}

} // namespace

TEST(TwoRowTable, MacroDistancesMatchASearchOfTheirOwn)
{
    // Two shuffles of four cells and their inverses, one dear: some arrangements are reached
    // first by the dear one and later more cheaply.
    const std::vector<TMacroTable::TMacro> macros {Macro({3, 1, 0, 2}, 1), Macro({2, 1, 3, 0}, 1),
        Macro({2, 3, 1, 0}, 4), Macro({3, 2, 0, 1}, 4)};
    for (const int32_t tracked : {2, 4}) {
        const TMacroTable table(4, tracked, macros);
        const std::map<TArrangement, int32_t> cost = Relaxed(macros, 4, tracked);
        for (const auto& [places, expected] : cost) {
            TMacroTable::TPlaces at {};
            std::copy(places.begin(), places.end(), at.begin());
            EXPECT_EQ(table.Distance(at), expected) << "tracked " << tracked;
            int32_t paid = 0;
            for (const int32_t step : table.Path(at))
                paid += macros[step].Cost;
            EXPECT_EQ(paid, expected);
        }
    }
}

TEST(TwoRowTable, SolvedRowsComeHomeAtTheCostTheTableGives)
{
    std::mt19937 shuffle(5);
    for (const int32_t length : {3, 4, 5}) {
        const TTwoRowSolver& solver = TTwoRowSolver::ForLength(length);
        TTwoRowLabels labels {};
        for (int32_t i = 0; i < 2 * length; ++i)
            labels[i] = static_cast<uint8_t>(i);
        int32_t solved = 0;
        for (int32_t n = 0; n < 100; ++n) {
            std::shuffle(labels.begin(), labels.begin() + 2 * length, shuffle);
            const std::optional<int32_t> cost = solver.Cost(labels);
            if (!cost)
                continue;
            // Four rows, the first two in place, tiles numbered by their home cells.
            TClassBoard board {length, 4, {}};
            for (int32_t cell = 0; cell < board.Count(); ++cell)
                board.Cells[cell] = static_cast<uint8_t>(
                    cell < 2 * length ? cell : 2 * length + labels[cell - 2 * length]);
            const TMoveList moves = solver.Solve(labels, 4);
            EXPECT_EQ(static_cast<int32_t>(moves.size()), *cost) << "length " << length;
            board.Apply(moves);
            for (int32_t cell = 0; cell < board.Count(); ++cell)
                ASSERT_EQ(board.Cells[cell], cell) << "length " << length << ", labels " << n;
            ++solved;
        }
        EXPECT_GT(solved, 0) << "length " << length;
    }
}

TEST(TwoRowTable, AnArrangementOfTheOtherParityIsOutOfReach)
{
    // Rows of even length turn by odd permutations: every arrangement is in reach. Rows of three
    // keep the parity, so one exchange of two tiles cannot be undone.
    const TTwoRowLabels exchanged {1, 0, 2, 3, 4, 5};
    EXPECT_FALSE(TTwoRowSolver::ForLength(3).Cost(exchanged).has_value());
    EXPECT_THROW(TTwoRowSolver::ForLength(3).Solve(exchanged, 3), std::logic_error);
}
