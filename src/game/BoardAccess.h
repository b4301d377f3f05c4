#pragma once

#include "platform/Accessibility.h"
#include "play/PlayListener.h"

#include <functional>
#include <string>
#include <vector>

// What assistive technology is told of the boards: the play board and the preview as pictures,
// a button for each arrow while a game runs, and the game's events in words.
class TBoardAccess : public TPlayListener {
public:
    // board and preview are the boxes the boards are shown in.
    TBoardAccess(TPlayDoor& play, const TControl& board, const TControl& preview,
        std::function<void(const std::string&)> announce);

    // The boards, then the arrows, which exist only while a game is played.
    std::vector<TAccessibleItem> Items();
    void PlayEvent(TPlayEvent event, const TPlayView& view) override;

private:
    TPlayDoor& FPlay;
    const TControl& FBoard;
    const TControl& FPreview;
    std::function<void(const std::string&)> FAnnounce;
};
