#pragma once

#include "game/PlayListener.h"
#include "game/WardenCoach.h"
#include "game/WardenPlay.h"
#include "platform/Control.h"

#include <functional>
#include <string>

// The games started and won per board size, kept in the settings file, and the preview board's
// tip that shows them with the moves and the par of the game in play.
class TWardenStatistics : public TPlayListener {
public:
    // settingsFile names the file and may throw; no statistics are kept without one. The tip
    // belongs to the preview box.
    TWardenStatistics(const TWardenPlay& play, const TWardenCoach& coach, const TControl& preview,
        std::function<std::string()> settingsFile);

    void PlayEvent(TPlayEvent event) override;
    // The statistics of the board size at a point over the preview board, else nothing.
    std::string PreviewTooltip(int32_t x, int32_t y) const;

private:
    std::string File() const;

    const TWardenPlay& FPlay;
    const TWardenCoach& FCoach;
    const TControl& FPreview;
    std::function<std::string()> FSettingsFile;
};
