#pragma once

#include "play/PlayListener.h"

#include <cstdint>
#include <functional>
#include <string>

// The board size kept in the settings file's [Options] keys Cols and Rows for the next start.
struct TBoardSize {
    int32_t Cols = 3;
    int32_t Rows = 3;
    friend bool operator==(const TBoardSize&, const TBoardSize&) = default;
};

// The kept size; a missing file or key, or a value that is not a whole number from 3 to 5,
// reads as 3.
TBoardSize ReadBoardSize(const std::string& fileName);

// Keeps every size the player chooses. settingsFile may throw; nothing is kept without one.
class TSizeMemory : public TPlayListener {
public:
    explicit TSizeMemory(std::function<std::string()> settingsFile);

    void PlayEvent(TPlayEvent event, const TPlayView& view) override;
    // Steps the idle play to the kept size with the size buttons' own commands, so that the
    // window shows it as the buttons would have left it.
    void Restore(TPlayDoor& play) const;

private:
    std::string File() const;

    std::function<std::string()> FSettingsFile;
};
