#include "solver/PatternTable.h"

#include "solver/BuiltOnce.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <stdexcept>
#include <tuple>

namespace {

constexpr uint8_t Unreached = 0xFF;
constexpr uint8_t UnreachedNibble = 0xF;
constexpr uint8_t MostDistance = 0xE;
// Entries between looks at the cancel flag.
constexpr uint32_t CancelCheckInterval = 1u << 16;

} // namespace

TCellMoves::TCellMoves(int32_t cols, int32_t rows)
{
    for (const bool isColumn : {true, false})
        for (int32_t line = 0; line < (isColumn ? cols : rows); ++line)
            for (const int8_t shift : {int8_t {1}, int8_t {-1}}) {
                Moves.push_back({isColumn, static_cast<int8_t>(line), shift});
                std::array<uint8_t, MaxSolverCells> to {};
                for (int32_t row = 0; row < rows; ++row)
                    for (int32_t col = 0; col < cols; ++col) {
                        int32_t c = col;
                        int32_t r = row;
                        if (isColumn && col == line)
                            r = (row - shift + rows) % rows;
                        if (!isColumn && row == line)
                            c = (col - shift + cols) % cols;
                        to[row * cols + col] = static_cast<uint8_t>(r * cols + c);
                    }
                To.push_back(to);
                uint32_t mask = 0;
                for (int32_t i = 0; i < (isColumn ? rows : cols); ++i)
                    mask |= 1u << (isColumn ? i * cols + line : line * cols + i);
                LineMask.push_back(mask);
            }
}

const TCellMoves& TCellMoves::ForSize(int32_t cols, int32_t rows)
{
    static std::array<std::once_flag, (MaxLines + 1) * (MaxLines + 1)> built;
    static std::array<std::unique_ptr<TCellMoves>, (MaxLines + 1) * (MaxLines + 1)> moves;
    if (cols < 1 || cols > MaxLines || rows < 1 || rows > MaxLines)
        throw std::logic_error("TCellMoves: size outside 1 to 5");
    const int32_t key = cols * (MaxLines + 1) + rows;
    std::call_once(built[key], [&] { moves[key] = std::make_unique<TCellMoves>(cols, rows); });
    return *moves[key];
}

const TPatternTable& TPatternTable::ForShape(
    int32_t cols, int32_t rows, const TOffsets& offsets, const std::atomic<bool>* cancel)
{
    using TKey = std::tuple<int32_t, int32_t, TOffsets>;
    static std::mutex guard;
    // Nodes of a map stay where they are: each table's builder is found under the lock and
    // used outside it, so that a long build holds up only those who need that table.
    static std::map<TKey, TBuiltOnce<TPatternTable>> tables;
    TBuiltOnce<TPatternTable>* once = nullptr;
    {
        const std::lock_guard<std::mutex> lock(guard);
        once = &tables[TKey {cols, rows, offsets}];
    }
    return once->Get(cancel, [&] {
        return std::unique_ptr<const TPatternTable>(new TPatternTable(cols, rows, offsets, cancel));
    });
}

TPatternTable::TPatternTable(
    int32_t cols, int32_t rows, const TOffsets& offsets, const std::atomic<bool>* cancel)
    : FCols(cols)
    , FRows(rows)
    , FCells(cols * rows)
    , FTiles(static_cast<int32_t>(offsets.size()))
{
    if (FTiles < 1 || FTiles > MaxPatternTiles || offsets.front() != std::pair<int8_t, int8_t> {})
        throw std::logic_error("TPatternTable: 1 to 5 tiles, the first at offset (0, 0)");
    uint32_t size = 1;
    for (int32_t i = 0; i < FTiles; ++i) {
        FWeight[i] = size;
        size *= static_cast<uint32_t>(FCells);
    }
    for (int32_t cell = 0; cell < FCells; ++cell)
        for (int32_t firstGoal = 0; firstGoal < FCells; ++firstGoal) {
            const int32_t col = (cell % cols - firstGoal % cols + cols) % cols;
            const int32_t row = (cell / cols - firstGoal / cols + rows) % rows;
            FRelative[cell * FCells + firstGoal] = static_cast<uint8_t>(row * cols + col);
        }

    uint32_t goal = 0;
    for (int32_t i = FTiles - 1; i >= 0; --i) {
        const int32_t col = (offsets[i].first % cols + cols) % cols;
        const int32_t row = (offsets[i].second % rows + rows) % rows;
        goal = goal * static_cast<uint32_t>(FCells) + static_cast<uint32_t>(row * cols + col);
    }
    // Breadth first from the goal, a layer per pass over the entries, which needs no memory
    // beyond a byte an entry: every move's inverse is a move, so distances from the goal are
    // distances to it. Entries with two tiles in one cell are never reached.
    const TCellMoves& cellMoves = TCellMoves::ForSize(cols, rows);
    std::vector<uint8_t> distance(size, Unreached);
    distance[goal] = 0;
    bool grew = true;
    for (uint8_t depth = 0; grew; ++depth) {
        grew = false;
        for (uint32_t index = 0; index < size; ++index) {
            if (index % CancelCheckInterval == 0 && cancel != nullptr
                && cancel->load(std::memory_order_relaxed))
                throw TTableCancelled();
            if (distance[index] != depth)
                continue;
            std::array<uint8_t, MaxPatternTiles> cell {};
            uint32_t rest = index;
            for (int32_t i = 0; i < FTiles; ++i) {
                cell[i] = static_cast<uint8_t>(rest % static_cast<uint32_t>(FCells));
                rest /= static_cast<uint32_t>(FCells);
            }
            for (const std::array<uint8_t, MaxSolverCells>& to : cellMoves.To) {
                uint32_t moved = 0;
                for (int32_t i = FTiles - 1; i >= 0; --i)
                    moved = moved * static_cast<uint32_t>(FCells) + to[cell[i]];
                if (distance[moved] == Unreached) {
                    distance[moved] = static_cast<uint8_t>(depth + 1);
                    grew = true;
                }
            }
        }
    }
    // A distance past what half a byte holds is kept as the most it holds, still a lower bound.
    FDistance.assign((size + 1) / 2, 0);
    for (uint32_t index = 0; index < size; ++index) {
        const uint8_t kept = distance[index] == Unreached ? UnreachedNibble
                                                          : std::min(distance[index], MostDistance);
        FDistance[index / 2] |= static_cast<uint8_t>(kept << (4 * (index % 2)));
    }
}
