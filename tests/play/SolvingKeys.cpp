#include "play/PlayTestSupport.h"

#include <array>
#include <deque>
#include <unordered_map>

// A breadth-first search over the arrangements of the nine cells, each packed in 4 bits.
std::string SolvingKeys(const TPuzzleBoard& board)
{
    using TCells = std::array<int32_t, 9>; // the cell at position 3 * (col - 1) + row - 1
    auto pack = [](const TCells& cells) {
        uint64_t packed = 0;
        for (int32_t id : cells)
            packed = packed << 4 | static_cast<uint64_t>(id);
        return packed;
    };
    auto move = [](const TCells& cells, char key) {
        TCells moved = cells;
        const bool column = key >= 'A';
        const int32_t k = column ? key - 'A' : key - '1', line = k % 3, next = k < 3 ? 1 : 2;
        for (int32_t i = 0; i < 3; ++i) {
            const int32_t from = (i + next) % 3;
            moved[column ? line * 3 + i : i * 3 + line]
                = cells[column ? line * 3 + from : from * 3 + line];
        }
        return moved;
    };
    auto solved = [&](const TCells& cells) {
        for (int32_t p = 0; p < 9; ++p)
            if (!(board.Current.Cell(cells[p] / 3 + 1, cells[p] % 3 + 1)
                    == board.Target.Cell(p / 3 + 1, p % 3 + 1)))
                return false;
        return true;
    };
    const TCells start {0, 1, 2, 3, 4, 5, 6, 7, 8};
    std::unordered_map<uint64_t, std::pair<uint64_t, char>> parent {{pack(start), {0, 0}}};
    for (std::deque<TCells> queue {start}; !queue.empty(); queue.pop_front()) {
        const TCells cells = queue.front();
        if (solved(cells)) {
            std::string keys;
            for (uint64_t at = pack(cells); parent[at].second != 0; at = parent[at].first)
                keys.insert(keys.begin(), parent[at].second);
            return keys;
        }
        for (const char key : std::string("ABCDEF123456"))
            if (parent.emplace(pack(move(cells, key)), std::make_pair(pack(cells), key)).second)
                queue.push_back(move(cells, key));
    }
    return {};
}
