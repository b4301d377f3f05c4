#include "solver/PatternTable.h"

#include "solver/BuiltOnce.h"
#include "solver/LayerSearch.h"
#include "solver/TableFile.h"

#include <map>
#include <mutex>
#include <stdexcept>
#include <tuple>

namespace {

// Lanes for the 2 * (cols + rows) moves of any size.
constexpr int32_t MaxMoves = 32;

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
    : FCells(cols * rows)
    , FTiles(static_cast<int32_t>(offsets.size()))
{
    if (FTiles < 1 || FTiles > MaxPatternTiles || offsets.front() != std::pair<int8_t, int8_t> {})
        throw std::logic_error("TPatternTable: 1 to 5 tiles, the first at offset (0, 0)");
    for (int32_t cell = 0; cell < FCells; ++cell)
        for (int32_t firstGoal = 0; firstGoal < FCells; ++firstGoal) {
            const int32_t col = (cell % cols - firstGoal % cols + cols) % cols;
            const int32_t row = (cell / cols - firstGoal / cols + rows) % rows;
            FRelative[cell * FCells + firstGoal] = static_cast<uint8_t>(row * cols + col);
        }
    const std::span<const uint8_t> shipped = TableFromFile(PatternTableName(cols, rows, offsets));
    if (!shipped.empty()) {
        Spread(shipped);
        return;
    }
    Spread(SearchPlacements(cols, rows, offsets, cancel));
}

std::vector<uint8_t> TPatternTable::SearchPlacements(
    int32_t cols, int32_t rows, const TOffsets& offsets, const std::atomic<bool>* cancel)
{
    const int32_t cells = cols * rows;
    const auto tiles = static_cast<int32_t>(offsets.size());
    std::array<uint8_t, MaxPatternTiles> goals {};
    for (int32_t i = 0; i < tiles; ++i) {
        const int32_t col = (offsets[i].first % cols + cols) % cols;
        const int32_t row = (offsets[i].second % rows + rows) % rows;
        goals[i] = static_cast<uint8_t>(row * cols + col);
    }
    const TCellMoves& cellMoves = TCellMoves::ForSize(cols, rows);
    const uint32_t states = PlacementCount(cells, tiles);
    TNibbleTable table(states);
    const uint32_t home = RankPlacement(goals, tiles, cells);
    // The number of tiles is a template argument so that their cells are counted in registers.
    const auto search = [&]<int32_t Tiles>() {
        SearchByLayers<MaxMoves>(table, states, home, {},
            TMovedPlacements<MaxMoves, Tiles>(cellMoves.To, cells), cancel);
    };
    switch (tiles) {
    case 1:
        search.operator()<1>();
        break;
    case 2:
        search.operator()<2>();
        break;
    case 3:
        search.operator()<3>();
        break;
    case 4:
        search.operator()<4>();
        break;
    default:
        search.operator()<MaxPatternTiles>();
    }
    return std::move(table.Bytes);
}

void TPatternTable::Spread(std::span<const uint8_t> byPlacement)
{
    uint32_t size = 1;
    for (int32_t i = 0; i < FTiles; ++i) {
        FWeight[i] = size;
        size *= static_cast<uint32_t>(FCells);
    }
    FDistance.assign((size + 1) / 2, 0);
    // Placements are visited in the order of their numbers, a tile's cell at a time.
    uint32_t rank = 0;
    const auto visit = [&](const auto& self, int32_t tile, uint32_t taken, uint32_t index) -> void {
        if (tile == FTiles) {
            // A distance past what half a byte holds is kept as the most it holds, still a lower
            // bound.
            uint32_t distance = (byPlacement[rank / 2] >> (4 * (rank % 2))) & 0xF;
            if (distance == TNibbleTable::Unreached)
                distance = TNibbleTable::Deepest;
            FDistance[index / 2] |= static_cast<uint8_t>(distance << (4 * (index % 2)));
            ++rank;
            return;
        }
        for (int32_t cell = 0; cell < FCells; ++cell)
            if ((taken & (1u << cell)) == 0)
                self(self, tile + 1, taken | 1u << cell,
                    index + static_cast<uint32_t>(cell) * FWeight[tile]);
    };
    visit(visit, 0, 0, 0);
}
