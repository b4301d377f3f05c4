#pragma once

#include "common/KelRect.h"
#include "play/PlayListener.h"

#include <functional>
#include <string>

// The games started and won per board size, kept in the settings file, and the preview board's
// tip that shows them with the moves and the par of the game in play.
class TWardenStatistics : public TPlayListener {
public:
    // settingsFile names the file and may throw; no statistics are kept without one. The tip
    // belongs to the place of the preview board in the window, which preview tells.
    TWardenStatistics(const TPlayDoor& play, std::function<TRect()> preview,
        std::function<std::string()> settingsFile);

    void PlayEvent(TPlayEvent event, const TPlayView& view) override;
    // The statistics of the board size at a point over the preview board, else nothing.
    std::string PreviewTooltip(int32_t x, int32_t y) const;

private:
    std::string File() const;

    const TPlayDoor& FPlay;
    std::function<TRect()> FPreview;
    std::function<std::string()> FSettingsFile;
};
