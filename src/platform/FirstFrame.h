#pragma once

#include "platform/Form.h"

#include <functional>

// Runs an action once, when the message loop is idle after the form's window has drawn its first
// frame: work that the player does not see yet waits until the window is on the screen. Nothing
// runs once this object is gone.
class TAfterFirstFrame {
public:
    TAfterFirstFrame(TForm& form, std::function<void()> action);
    ~TAfterFirstFrame();
    TAfterFirstFrame(const TAfterFirstFrame&) = delete;
    TAfterFirstFrame& operator=(const TAfterFirstFrame&) = delete;

private:
    friend struct TFirstFrameSignals;
    TForm& FForm;
    std::function<void()> FAction;
    unsigned long FDrawHandler = 0;
    unsigned FIdleSource = 0;
};
