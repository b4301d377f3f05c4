#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The settings file that settingsFile names, or empty when there is none or it throws: the
// records and the size are a comfort, and a settings folder that cannot be found keeps none.
std::string SettingsFileOrNone(const std::function<std::string()>& settingsFile);

// The record of one board size, kept in the settings file's [Statistics] section.
struct TSizeStatistics {
    int32_t Started = 0;
    int32_t Won = 0;
    // The fewest moves of a won game; 0 before the first win.
    int32_t Best = 0;
    // The shortest time of a won game in whole seconds; 0 before the first win.
    int32_t BestTime = 0;
    friend bool operator==(const TSizeStatistics&, const TSizeStatistics&) = default;
};

// A game in play or won: its moves, its time in whole seconds, whether help played a move.
struct TGameResult {
    int32_t Moves = 0;
    int32_t Seconds = 0;
    bool Helped = false;
};

// The records a won game sets against its size's record; none when it was won with help.
struct TWinRecords {
    bool Moves = false;
    bool Time = false;
    friend bool operator==(const TWinRecords&, const TWinRecords&) = default;
};
TWinRecords RecordsOf(const TSizeStatistics& old, const TGameResult& game);

// Milliseconds played as whole seconds, rounded down.
int32_t WholeSeconds(int64_t milliseconds);
// "0:45", "12:03".
std::string TimeText(int32_t seconds);

// The record of cols x rows; a missing file or key, or a value that is not a plain count, reads
// as 0.
TSizeStatistics ReadSizeStatistics(const std::string& fileName, int32_t cols, int32_t rows);
// One more game started, or won; the file is replaced at once with every other line kept. A
// game won with help counts as won but sets no record. False when it could not be written.
bool RecordGameStarted(const std::string& fileName, int32_t cols, int32_t rows);
bool RecordGameWon(
    const std::string& fileName, int32_t cols, int32_t rows, const TGameResult& game);

// For example "4 × 3: won 3 of 5, best 14 moves, best time 1:05 · this game: 9 moves in 0:45";
// the current game's part only when there is one.
std::string StatisticsText(
    const TSizeStatistics& statistics, int32_t cols, int32_t rows, std::optional<TGameResult> game);
// "a new record: fewest moves and best time"; empty when the game set none.
std::string RecordText(const TWinRecords& records);
