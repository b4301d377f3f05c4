#include "solver/WalkingDistance.h"

#include <map>
#include <mutex>

namespace {

constexpr uint8_t Unreached = 0xFF;
// Bytes of tables kept for later boards; boards of distinct tiles need one per size and
// direction, of at most 35^4 bytes.
constexpr std::size_t MaxCachedBytes = 8u << 20;

int32_t LineOf(const TClassBoard& board, int32_t cell, bool acrossRows)
{
    return acrossRows ? cell / board.Cols : cell % board.Cols;
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
    for (int32_t cell = 0; cell < target.Count(); ++cell)
        table->FLineOfCell[cell] = static_cast<uint8_t>(LineOf(target, cell, acrossRows));

    // A class is labelled by the first line the target holds it in; cells are read line by line.
    std::array<bool, MaxSolverCells> labelled {};
    for (int32_t line = 0; line < lines; ++line)
        for (int32_t cell = 0; cell < target.Count(); ++cell)
            if (LineOf(target, cell, acrossRows) == line && !labelled[target.Cells[cell]]) {
                labelled[target.Cells[cell]] = true;
                table->FLabel[target.Cells[cell]] = static_cast<uint8_t>(line);
            }
    // A tile of a class adds its label's digit to the counts of its line, in base line length + 1.
    for (int32_t kind = 0; kind < MaxSolverCells; ++kind) {
        table->FWeight[kind] = 1;
        for (int32_t digit = 0; digit < table->FLabel[kind]; ++digit)
            table->FWeight[kind]
                = static_cast<uint16_t>(table->FWeight[kind] * (table->FLineLength + 1));
    }

    table->ListLineCounts();
    int64_t states = 1;
    for (int32_t line = 0; line < lines; ++line)
        states *= static_cast<int64_t>(table->FLineCounts.size());
    if (states > maxStates)
        return nullptr;

    // The relaxed puzzle is known by its shape and the target's counts, whichever way its lines
    // run: both directions of a square board of distinct tiles share one table.
    std::vector<uint8_t> goal {
        0, static_cast<uint8_t>(lines), static_cast<uint8_t>(table->FLineLength)};
    goal.resize(goal.size() + static_cast<std::size_t>(lines * lines));
    for (int32_t cell = 0; cell < target.Count(); ++cell)
        ++goal[3
            + static_cast<std::size_t>(
                LineOf(target, cell, acrossRows) * lines + table->FLabel[target.Cells[cell]])];

    static std::mutex cacheLock;
    static std::map<std::vector<uint8_t>, std::shared_ptr<const std::vector<uint8_t>>> cache;
    static std::size_t cachedBytes = 0;
    {
        const std::lock_guard<std::mutex> lock(cacheLock);
        const auto it = cache.find(goal);
        if (it != cache.end()) {
            table->FDistance = it->second;
            return table;
        }
    }
    table->Search(goal);
    const std::lock_guard<std::mutex> lock(cacheLock);
    if (cachedBytes + table->FDistance->size() > MaxCachedBytes) {
        cache.clear();
        cachedBytes = 0;
    }
    if (cache.emplace(goal, table->FDistance).second)
        cachedBytes += table->FDistance->size();
    return table;
}

// Every way to put FLineLength tiles into FLines labels, as counts per label.
void TWalkingDistance::ListLineCounts()
{
    const int32_t base = FLineLength + 1;
    int32_t digits = 1;
    for (int32_t i = 0; i < FLines; ++i)
        digits *= base;
    FNumber.assign(static_cast<std::size_t>(digits), -1);
    for (int32_t key = 0; key < digits; ++key) {
        std::array<uint8_t, MaxLines> counts {};
        int32_t sum = 0;
        for (int32_t label = 0, rest = key; label < FLines; ++label, rest /= base) {
            counts[label] = static_cast<uint8_t>(rest % base);
            sum += counts[label];
        }
        if (sum != FLineLength)
            continue;
        FNumber[key] = static_cast<int32_t>(FLineCounts.size());
        FLineCounts.push_back(counts);
    }
}

// Breadth first from the target: a relaxed move passed back the other way is again a relaxed
// move, so distances from the target are distances to it.
void TWalkingDistance::Search(const std::vector<uint8_t>& goalKey)
{
    const int32_t lines = FLines;
    const auto kinds = static_cast<int32_t>(FLineCounts.size());
    const int32_t base = FLineLength + 1;
    auto numberOf = [&](const std::array<uint8_t, MaxLines>& counts) {
        int32_t key = 0;
        for (int32_t label = lines - 1; label >= 0; --label)
            key = key * base + counts[label];
        return FNumber[key];
    };
    // What a line's counts become when it gives one label away and takes another.
    std::vector<int32_t> swapped(static_cast<std::size_t>(kinds * lines * lines), -1);
    for (int32_t kind = 0; kind < kinds; ++kind)
        for (int32_t out = 0; out < lines; ++out)
            for (int32_t in = 0; in < lines; ++in) {
                std::array<uint8_t, MaxLines> counts = FLineCounts[kind];
                if (counts[out] == 0)
                    continue;
                --counts[out];
                ++counts[in];
                swapped[static_cast<std::size_t>((kind * lines + out) * lines + in)]
                    = numberOf(counts);
            }

    std::size_t states = 1;
    for (int32_t line = 0; line < lines; ++line)
        states *= static_cast<std::size_t>(kinds);
    auto distance = std::make_shared<std::vector<uint8_t>>(states, Unreached);
    uint32_t start = 0;
    for (int32_t line = lines - 1; line >= 0; --line) {
        std::array<uint8_t, MaxLines> counts {};
        for (int32_t label = 0; label < lines; ++label)
            counts[label] = goalKey[3 + static_cast<std::size_t>(line * lines + label)];
        start = start * static_cast<uint32_t>(kinds) + static_cast<uint32_t>(numberOf(counts));
    }
    (*distance)[start] = 0;
    std::vector<uint32_t> frontier {start};
    std::array<int32_t, MaxLines> kind {};
    std::array<int32_t, MaxLines> sent {};
    for (uint8_t depth = 1; !frontier.empty(); ++depth) {
        std::vector<uint32_t> next;
        for (uint32_t state : frontier) {
            for (int32_t line = 0; line < lines; ++line, state /= static_cast<uint32_t>(kinds))
                kind[line] = static_cast<int32_t>(state % static_cast<uint32_t>(kinds));
            // Each line passes one tile of a label it holds to the next line that way; the
            // choices run like the digits of a counter.
            for (const int32_t toward : {-1, 1}) {
                auto give = [&](auto&& self, int32_t line) -> void {
                    if (line == lines) {
                        uint32_t reached = 0;
                        for (int32_t l = lines - 1; l >= 0; --l) {
                            const int32_t from = (l - toward + lines) % lines;
                            const int32_t swap = swapped[static_cast<std::size_t>(
                                (kind[l] * lines + sent[l]) * lines + sent[from])];
                            reached = reached * static_cast<uint32_t>(kinds)
                                + static_cast<uint32_t>(swap);
                        }
                        if ((*distance)[reached] == Unreached) {
                            (*distance)[reached] = depth;
                            next.push_back(reached);
                        }
                        return;
                    }
                    for (int32_t label = 0; label < lines; ++label)
                        if (FLineCounts[kind[line]][label] > 0) {
                            sent[line] = label;
                            self(self, line + 1);
                        }
                };
                give(give, 0);
            }
        }
        frontier = std::move(next);
    }
    FDistance = std::move(distance);
}

int32_t TWalkingDistance::Bound(const TClassBoard& board) const
{
    // Each line's counts of labels, read as digits, add up cell by cell.
    std::array<int32_t, MaxLines> keys {};
    for (int32_t cell = 0; cell < board.Count(); ++cell)
        keys[FLineOfCell[cell]] += FWeight[board.Cells[cell]];
    const auto kinds = static_cast<uint32_t>(FLineCounts.size());
    uint32_t state = 0;
    for (int32_t line = FLines - 1; line >= 0; --line)
        state
            = state * kinds + static_cast<uint32_t>(FNumber[static_cast<std::size_t>(keys[line])]);
    const uint8_t distance = (*FDistance)[state];
    return distance == Unreached ? 0 : distance;
}
