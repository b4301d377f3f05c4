#include "solver/WindowOptimiser.h"

#include "solver/MoveOptimiser.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace {

// Effects of up to this many moves are in the table; stretches up to TableMoves + 3 are tried.
constexpr int32_t TableMoves = 4;
constexpr int32_t LongestWindow = TableMoves + 3;

using TEffect = std::array<uint8_t, MaxSolverCells>;

// Where every tile ends after the moves, on a board whose tiles are numbered by their cells.
TEffect EffectOf(const TSolverMove* moves, std::size_t count, int32_t cols, int32_t rows)
{
    TClassBoard board;
    board.Cols = cols;
    board.Rows = rows;
    for (int32_t i = 0; i < board.Count(); ++i)
        board.Cells[i] = static_cast<uint8_t>(i);
    for (std::size_t i = 0; i < count; ++i)
        board.Apply(moves[i]);
    return board.Cells;
}

uint64_t HashOf(const TEffect& effect, int32_t cells)
{
    uint64_t hash = 1469598103934665603ULL;
    for (int32_t i = 0; i < cells; ++i)
        hash = (hash ^ effect[i]) * 1099511628211ULL;
    return hash;
}

class TEffectTable {
public:
    static const TEffectTable& ForSize(int32_t cols, int32_t rows)
    {
        static std::array<std::once_flag, (MaxLines + 1) * (MaxLines + 1)> built;
        static std::array<std::unique_ptr<TEffectTable>, (MaxLines + 1) * (MaxLines + 1)> tables;
        if (cols < MinLines || cols > MaxLines || rows < MinLines || rows > MaxLines)
            throw std::logic_error("TEffectTable: size outside 3 to 5");
        const int32_t key = cols * (MaxLines + 1) + rows;
        std::call_once(built[key], [&] { tables[key].reset(new TEffectTable(cols, rows)); });
        return *tables[key];
    }

    // The shortest known move list with this effect, when it is shorter than `shorterThan`.
    bool Find(const TEffect& effect, std::size_t shorterThan, TMoveList& found) const
    {
        const uint64_t hash = HashOf(effect, FCols * FRows);
        auto it = std::lower_bound(FEntries.begin(), FEntries.end(), hash,
            [](const TEntry& entry, uint64_t value) { return entry.Hash < value; });
        // Hashes may collide: the stored moves must really have the effect.
        if (it == FEntries.end() || it->Hash != hash || it->Length >= shorterThan
            || EffectOf(it->Moves.data(), it->Length, FCols, FRows) != effect)
            return false;
        found.assign(it->Moves.begin(), it->Moves.begin() + it->Length);
        return true;
    }

    // One or two leading moves, and where each cell's tile came from after them.
    struct TPrefix {
        std::array<TSolverMove, 2> Moves {};
        std::size_t Length = 0;
        TEffect Inverse {};
    };
    const std::vector<TPrefix>& Prefixes() const { return FPrefixes; }

private:
    struct TEntry {
        uint64_t Hash = 0;
        uint8_t Length = 0;
        std::array<TSolverMove, TableMoves> Moves {};
    };

    TEffectTable(int32_t cols, int32_t rows)
        : FCols(cols)
        , FRows(rows)
    {
        for (const bool isColumn : {true, false})
            for (int32_t line = 0; line < (isColumn ? cols : rows); ++line)
                for (const int8_t shift : {int8_t {1}, int8_t {-1}})
                    FMoves.push_back({isColumn, static_cast<int8_t>(line), shift});
        TEntry entry;
        List(entry);
        // Pairs that undo themselves or reorder parallel lines have a shorter or listed twin.
        for (const TSolverMove& first : FMoves)
            AddPrefix({first, first}, 1);
        for (const TSolverMove& second : FMoves)
            for (const TSolverMove& first : FMoves)
                if (second != first.Inverse()
                    && !(first.IsColumn == second.IsColumn && first.Line > second.Line))
                    AddPrefix({first, second}, 2);
        // By hash, only the shortest of each (effects that share a hash are rare, and missing
        // one costs a chance to shorten, never a wrong result).
        std::sort(FEntries.begin(), FEntries.end(), [](const TEntry& a, const TEntry& b) {
            return a.Hash != b.Hash ? a.Hash < b.Hash : a.Length < b.Length;
        });
        FEntries.erase(std::unique(FEntries.begin(), FEntries.end(),
                           [](const TEntry& a, const TEntry& b) { return a.Hash == b.Hash; }),
            FEntries.end());
        FEntries.shrink_to_fit();
    }

    void AddPrefix(const std::array<TSolverMove, 2>& moves, std::size_t length)
    {
        TPrefix prefix;
        prefix.Moves = moves;
        prefix.Length = length;
        const TEffect effect = EffectOf(moves.data(), length, FCols, FRows);
        for (int32_t i = 0; i < FCols * FRows; ++i)
            prefix.Inverse[effect[i]] = static_cast<uint8_t>(i);
        FPrefixes.push_back(prefix);
    }

    // Every move list up to TableMoves long, less those that merely reorder parallel lines or
    // undo a move at once.
    void List(TEntry& entry)
    {
        FEntries.push_back(entry);
        FEntries.back().Hash
            = HashOf(EffectOf(entry.Moves.data(), entry.Length, FCols, FRows), FCols * FRows);
        if (entry.Length == TableMoves)
            return;
        for (const TSolverMove& move : FMoves) {
            if (entry.Length > 0) {
                const TSolverMove& last = entry.Moves[entry.Length - 1];
                if (last == move.Inverse()
                    || (last.IsColumn == move.IsColumn && last.Line > move.Line))
                    continue;
            }
            entry.Moves[entry.Length++] = move;
            List(entry);
            --entry.Length;
        }
    }

    int32_t FCols;
    int32_t FRows;
    std::vector<TSolverMove> FMoves;
    std::vector<TPrefix> FPrefixes;
    std::vector<TEntry> FEntries;
};

// A shorter move list with the given effect: a table entry, or one or two moves followed by one.
bool FindShorter(const TEffectTable& table, const TEffect& effect, std::size_t length, int32_t cols,
    int32_t rows, TMoveList& found)
{
    if (table.Find(effect, length, found))
        return true;
    const int32_t cells = cols * rows;
    for (const TEffectTable::TPrefix& prefix : table.Prefixes()) {
        if (prefix.Length + TableMoves >= length)
            break;
        // The rest must take the prefix's board to the effect.
        TEffect rest {};
        for (int32_t i = 0; i < cells; ++i)
            rest[i] = prefix.Inverse[effect[i]];
        TMoveList tail;
        if (table.Find(rest, length - prefix.Length, tail)) {
            found.assign(prefix.Moves.begin(),
                prefix.Moves.begin() + static_cast<std::ptrdiff_t>(prefix.Length));
            found.insert(found.end(), tail.begin(), tail.end());
            return true;
        }
    }
    return false;
}

} // namespace

TMoveList ShortenWindows(const TMoveList& moves, int32_t cols, int32_t rows)
{
    const TEffectTable& table = TEffectTable::ForSize(cols, rows);
    TMoveList current = OptimiseMoves(moves, cols, rows);
    std::size_t start = 0;
    while (start < current.size()) {
        bool shortened = false;
        for (std::size_t length = std::min<std::size_t>(LongestWindow, current.size() - start);
             length >= 2 && !shortened; --length) {
            const TEffect effect = EffectOf(&current[start], length, cols, rows);
            TMoveList replacement;
            if (!FindShorter(table, effect, length, cols, rows, replacement))
                continue;
            TMoveList next(current.begin(), current.begin() + static_cast<std::ptrdiff_t>(start));
            next.insert(next.end(), replacement.begin(), replacement.end());
            next.insert(next.end(), current.begin() + static_cast<std::ptrdiff_t>(start + length),
                current.end());
            current = OptimiseMoves(next, cols, rows);
            shortened = true;
        }
        // A change may open a shorter stretch that begins a little earlier.
        start = shortened ? start - std::min<std::size_t>(start, LongestWindow) : start + 1;
    }
    return current;
}
