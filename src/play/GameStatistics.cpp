#include "play/GameStatistics.h"

#include "common/IniFile.h"
#include "common/KelException.h"

#include <algorithm>
#include <limits>

namespace {

constexpr const char* Section = "Statistics";

std::string KeyOf(const char* what, int32_t cols, int32_t rows)
{
    return what + std::to_string(cols) + "x" + std::to_string(rows);
}

// Only digits, and no more than a count can hold; anything else is junk.
int32_t CountOf(const std::optional<std::string>& value)
{
    if (!value || value->empty() || value->size() > 9)
        return 0;
    int32_t count = 0;
    for (const char c : *value) {
        if (c < '0' || c > '9')
            return 0;
        count = count * 10 + (c - '0');
    }
    return count;
}

int32_t OneMore(int32_t count)
{
    return count < 999'999'999 ? count + 1 : count;
}

std::string Moves(int32_t moves)
{
    return std::to_string(moves) + (moves == 1 ? " move" : " moves");
}

} // namespace

std::string SettingsFileOrNone(const std::function<std::string()>& settingsFile)
{
    try {
        return settingsFile ? settingsFile() : std::string();
    } catch (const KelException&) {
        return {};
    }
}

TSizeStatistics ReadSizeStatistics(const std::string& fileName, int32_t cols, int32_t rows)
{
    const TIniText settings(fileName);
    auto read = [&](const char* what) {
        return CountOf(settings.Value(Section, KeyOf(what, cols, rows)));
    };
    return {read("Started"), read("Won"), read("Best"), read("BestTime")};
}

bool RecordGameStarted(const std::string& fileName, int32_t cols, int32_t rows)
{
    const TSizeStatistics old = ReadSizeStatistics(fileName, cols, rows);
    return WriteIniEntries(
        Section, {{KeyOf("Started", cols, rows), std::to_string(OneMore(old.Started))}}, fileName);
}

TWinRecords RecordsOf(const TSizeStatistics& old, const TGameResult& game)
{
    if (game.Helped)
        return {};
    return {old.Best == 0
        || game.Moves<old.Best, game.Seconds> 0
            && (old.BestTime == 0 || game.Seconds < old.BestTime)};
}

int32_t WholeSeconds(int64_t milliseconds)
{
    return static_cast<int32_t>(std::clamp<int64_t>(milliseconds / 1000, 0, 999'999'999));
}

std::string TimeText(int32_t seconds)
{
    const int32_t rest = seconds % 60;
    return std::to_string(seconds / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

// A won game was started, so a record that lost its start (a broken value) is made whole.
bool RecordGameWon(const std::string& fileName, int32_t cols, int32_t rows, const TGameResult& game)
{
    const TSizeStatistics old = ReadSizeStatistics(fileName, cols, rows);
    const int32_t won = OneMore(old.Won);
    std::vector<TIniEntry> entries {{KeyOf("Won", cols, rows), std::to_string(won)}};
    const TWinRecords records = RecordsOf(old, game);
    if (records.Moves)
        entries.push_back({KeyOf("Best", cols, rows), std::to_string(game.Moves)});
    if (records.Time)
        entries.push_back({KeyOf("BestTime", cols, rows), std::to_string(game.Seconds)});
    if (old.Started < won)
        entries.push_back({KeyOf("Started", cols, rows), std::to_string(won)});
    return WriteIniEntries(Section, entries, fileName);
}

std::string StatisticsText(
    const TSizeStatistics& statistics, int32_t cols, int32_t rows, std::optional<TGameResult> game)
{
    std::string text = std::to_string(cols) + " × " + std::to_string(rows) + ": won "
        + std::to_string(statistics.Won) + " of " + std::to_string(statistics.Started);
    // Games won with help set no best.
    if (statistics.Won > 0 && statistics.Best > 0)
        text += ", best " + Moves(statistics.Best);
    if (statistics.Won > 0 && statistics.BestTime > 0)
        text += ", best time " + TimeText(statistics.BestTime);
    if (game)
        text += " · this game: " + Moves(game->Moves) + " in " + TimeText(game->Seconds);
    return text;
}

std::string RecordText(const TWinRecords& records)
{
    if (!records.Moves && !records.Time)
        return {};
    return std::string("a new record: ")
        + (records.Moves ? (records.Time ? "fewest moves and best time" : "fewest moves")
                         : "best time");
}
