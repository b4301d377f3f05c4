#pragma once

#include "play/WardenPlay.h"

#include <functional>
#include <string>

// Keeps the game in play when the window closes and brings it back at the next start. The file
// is taken when it is read, so that a game comes back once only, and written again after each
// move and at the close: a run that ends without a close (its display gone, killed) loses no
// more than the move in hand. Exit and a win remove it at once.
class TGameKeeper : public TPlayListener {
public:
    // file names the kept game; it may throw, or answer an empty name: nothing is kept then.
    explicit TGameKeeper(std::function<std::string()> file);

    // Once, at the start: plays on from the kept game. One that cannot be read, is of another
    // version or is not a game in play is set aside beside its name and the play stays idle.
    // True when a game came back.
    bool Resume(TWardenPlay& play);
    // At the close: ends the scramble or the move in hand, then keeps a game in play, or leaves
    // none behind when none is played. Before Resume, and after the first close, it does
    // nothing: the kept game was not taken.
    void Keep(TWardenPlay& play);
    // Follows the play that Resume was given.
    void PlayEvent(TPlayEvent event, const TPlayView& view) override;

private:
    enum class TStage : uint8_t { Starting, Playing, Closed };

    std::string File() const;
    void Write(const TWardenPlay& play);

    std::function<std::string()> FFile;
    TStage FStage = TStage::Starting;
    const TWardenPlay* FPlay = nullptr;
};
