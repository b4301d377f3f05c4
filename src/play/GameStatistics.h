#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The record of one board size, kept in the settings file's [Statistics] section.
struct TSizeStatistics {
    int32_t Started = 0;
    int32_t Won = 0;
    // The fewest moves of a won game; 0 before the first win.
    int32_t Best = 0;
    friend bool operator==(const TSizeStatistics&, const TSizeStatistics&) = default;
};

// The record of cols x rows; a missing file or key, or a value that is not a plain count, reads
// as 0.
TSizeStatistics ReadSizeStatistics(const std::string& fileName, int32_t cols, int32_t rows);
// One more game started, or won with the given moves; the file is replaced at once with every
// other line kept. A game won with help counts as won but sets no record of fewest moves. False
// when it could not be written.
bool RecordGameStarted(const std::string& fileName, int32_t cols, int32_t rows);
bool RecordGameWon(
    const std::string& fileName, int32_t cols, int32_t rows, int32_t moves, bool helped);

// For example "4 × 3: won 3 of 5, best 14 moves · this game: 9 moves"; the current game's part
// only when there is one.
std::string StatisticsText(const TSizeStatistics& statistics, int32_t cols, int32_t rows,
    std::optional<int32_t> gameMoves);
