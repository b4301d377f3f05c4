#pragma once

#include "platform/Form.h"
#include "platform/Input.h"

#include <cstdint>
#include <optional>

// The player's zoom of the game window: whole numbers from 1 to MaxZoom.
constexpr int32_t MaxZoom = 4;

// The zoom one step up (1) or down (-1) from the given one, or back to 1 (0); a step may leave
// 1 .. MaxZoom, for ApplyZoom to refuse.
int32_t ZoomAfter(int32_t step, int32_t zoom);
// The zoom that a key of the key table asks for at the given zoom: Ctrl with plus (the main
// keyboard's plus or equal key, or the keypad's) one step up, Ctrl+minus one step down, Ctrl+0
// back to 1. Shift may be held, no other modifier. Nothing when the key is none of these.
std::optional<int32_t> ZoomForKey(uint16_t key, TShiftState shift, int32_t zoom);
// Sets the form's zoom when it lies in 1 .. MaxZoom and the window fits the monitor's work area
// at it; false, and the zoom unchanged, when refused.
bool ApplyZoom(TForm& form, int32_t zoom);
// ApplyZoom for the player's step: a refused one rings the desktop's error bell and tells a
// screen reader why.
bool StepZoom(TForm& form, int32_t zoom);
