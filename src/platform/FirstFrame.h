#pragma once

#include "platform/Form.h"

#include <functional>

// Runs an action once, when the message loop is idle settleMs milliseconds after the form's window
// has drawn its first frame: work that the player does not see yet waits until the window is on
// the screen. The display server and compositor still have to put the drawn frame there, on the
// same processors, so hidden work that would hold them up waits a while longer. Nothing runs once
// this object is gone.
class TAfterFirstFrame {
public:
    TAfterFirstFrame(TForm& form, std::function<void()> action, unsigned settleMs = 0);
    ~TAfterFirstFrame();
    TAfterFirstFrame(const TAfterFirstFrame&) = delete;
    TAfterFirstFrame& operator=(const TAfterFirstFrame&) = delete;

private:
    friend struct TFirstFrameSignals;
    TForm& FForm;
    std::function<void()> FAction;
    unsigned FSettleMs;
    unsigned long FDrawHandler = 0;
    unsigned FIdleSource = 0;
};
