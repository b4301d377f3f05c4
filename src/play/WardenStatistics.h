#pragma once

#include "common/KelRect.h"
#include "play/GameStatistics.h"
#include "play/PlayListener.h"

#include <functional>
#include <optional>
#include <string>

// The games started and won per board size with their fewest moves and best time, kept in the
// settings file; the preview board's tip that shows them with the moves, time and par of the
// game in play and the records a win set; and the win told in words.
class TWardenStatistics : public TPlayListener {
public:
    // settingsFile names the file and may throw; no statistics are kept without one. The tip
    // belongs to the place of the preview board in the window, which preview tells.
    TWardenStatistics(const TPlayDoor& play, std::function<TRect()> preview,
        std::function<std::string()> settingsFile,
        std::function<void(const std::string&)> announce = nullptr);

    void PlayEvent(TPlayEvent event, const TPlayView& view) override;
    // The statistics of the board size at a point over the preview board, else nothing.
    std::string PreviewTooltip(int32_t x, int32_t y) const;

private:
    std::string File() const;

    const TPlayDoor& FPlay;
    std::function<TRect()> FPreview;
    std::function<std::string()> FSettingsFile;
    std::function<void(const std::string&)> FAnnounce;
    // The records the game last won set, until the next start or Exit.
    std::optional<TWinRecords> FWin;
};

// "Well done! Solved in 9 moves in 45 seconds, par 8. A new record: fewest moves and best time."
std::string WinWords(
    const TGameResult& game, const std::optional<TPar>& par, const TWinRecords& records);
