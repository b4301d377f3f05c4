#include "solver/WalkingDistance.h"

#include <map>
#include <mutex>
#include <vector>

namespace {

using TCounts = std::array<std::array<uint8_t, MaxLines>, MaxLines>;

// Tables kept at once; boards of distinct tiles need one per size and direction.
constexpr std::size_t MaxCachedTables = 64;

int32_t LineOf(const TClassBoard& board, int32_t cell, bool acrossRows)
{
    return acrossRows ? cell / board.Cols : cell % board.Cols;
}

// Counts of a line's last label follow from the others, so they are left out of the key.
uint64_t CountsKey(const TCounts& counts, int32_t lines, int32_t lineLength)
{
    uint64_t key = 0;
    for (int32_t line = 0; line < lines; ++line)
        for (int32_t label = 0; label + 1 < lines; ++label)
            key = key * static_cast<uint64_t>(lineLength + 1) + counts[line][label];
    return key;
}

// The relaxed moves of one direction: every line passes one tile of a label it holds to the
// next line that way; `sent` collects the choice line by line.
template <typename TVisit>
void ForEachPass(const TCounts& counts, int32_t lines, int32_t toward,
    std::array<int32_t, MaxLines>& sent, int32_t line, const TVisit& visit)
{
    if (line == lines) {
        TCounts next = counts;
        for (int32_t l = 0; l < lines; ++l) {
            --next[l][sent[l]];
            ++next[(l + toward + lines) % lines][sent[l]];
        }
        visit(next);
        return;
    }
    for (int32_t label = 0; label < lines; ++label)
        if (counts[line][label] > 0) {
            sent[line] = label;
            ForEachPass(counts, lines, toward, sent, line + 1, visit);
        }
}

} // namespace

std::shared_ptr<const TWalkingDistance> TWalkingDistance::Build(
    const TClassBoard& target, bool acrossRows, int32_t maxStates)
{
    std::shared_ptr<TWalkingDistance> table(new TWalkingDistance());
    table->FAcrossRows = acrossRows;
    table->FLines = acrossRows ? target.Rows : target.Cols;
    table->FLineLength = acrossRows ? target.Cols : target.Rows;
    const int32_t lines = table->FLines;

    // A class is labelled by the first line the target holds it in; cells are read line by line.
    std::array<bool, MaxSolverCells> labelled {};
    for (int32_t line = 0; line < lines; ++line)
        for (int32_t cell = 0; cell < target.Count(); ++cell)
            if (LineOf(target, cell, acrossRows) == line && !labelled[target.Cells[cell]]) {
                labelled[target.Cells[cell]] = true;
                table->FLabel[target.Cells[cell]] = static_cast<uint8_t>(line);
            }

    // The relaxed puzzle is known by its shape and the target's counts.
    std::vector<uint8_t> goal {static_cast<uint8_t>(acrossRows), static_cast<uint8_t>(lines),
        static_cast<uint8_t>(table->FLineLength)};
    goal.resize(goal.size() + static_cast<std::size_t>(lines * lines));
    for (int32_t cell = 0; cell < target.Count(); ++cell)
        ++goal[3
            + static_cast<std::size_t>(
                LineOf(target, cell, acrossRows) * lines + table->FLabel[target.Cells[cell]])];

    static std::mutex cacheLock;
    static std::map<std::vector<uint8_t>,
        std::shared_ptr<const std::unordered_map<uint64_t, uint8_t>>>
        cache;
    {
        const std::lock_guard<std::mutex> lock(cacheLock);
        const auto it = cache.find(goal);
        if (it != cache.end()) {
            if (!it->second)
                return nullptr;
            table->FDistance = it->second;
            return table;
        }
    }
    table->Search(goal, maxStates);
    const std::lock_guard<std::mutex> lock(cacheLock);
    if (cache.size() >= MaxCachedTables)
        cache.clear();
    cache.emplace(goal, table->FDistance);
    if (!table->FDistance)
        return nullptr;
    return table;
}

// Breadth first from the target: a relaxed move passed back the other way is again a relaxed
// move, so distances from the target are distances to it.
void TWalkingDistance::Search(const std::vector<uint8_t>& goalKey, int32_t maxStates)
{
    const int32_t lines = FLines;
    TCounts goal {};
    for (int32_t line = 0; line < lines; ++line)
        for (int32_t label = 0; label < lines; ++label)
            goal[line][label] = goalKey[3 + static_cast<std::size_t>(line * lines + label)];
    auto distance = std::make_shared<std::unordered_map<uint64_t, uint8_t>>();
    std::vector<TCounts> frontier {goal};
    distance->emplace(CountsKey(goal, lines, FLineLength), 0);
    std::array<int32_t, MaxLines> sent {};
    for (uint8_t depth = 1; !frontier.empty(); ++depth) {
        std::vector<TCounts> next;
        for (const TCounts& counts : frontier)
            for (const int32_t toward : {-1, 1})
                ForEachPass(counts, lines, toward, sent, 0, [&](const TCounts& reached) {
                    if (distance->emplace(CountsKey(reached, lines, FLineLength), depth).second)
                        next.push_back(reached);
                });
        if (static_cast<int32_t>(distance->size()) > maxStates)
            return;
        frontier = std::move(next);
    }
    FDistance = std::move(distance);
}

uint64_t TWalkingDistance::Key(const TClassBoard& board) const
{
    TCounts counts {};
    for (int32_t cell = 0; cell < board.Count(); ++cell)
        ++counts[LineOf(board, cell, FAcrossRows)][FLabel[board.Cells[cell]]];
    return CountsKey(counts, FLines, FLineLength);
}

int32_t TWalkingDistance::Bound(const TClassBoard& board) const
{
    const auto it = FDistance->find(Key(board));
    return it == FDistance->end() ? 0 : it->second;
}
