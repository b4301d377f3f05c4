#pragma once

#include <functional>

// Runs the job on the message loop's thread at its next idle turn; may be called from any
// thread. An error the job raises is shown as the loop shows its own. A job the loop never runs
// is dropped with it.
void RunOnMainLoop(std::function<void()> job);
