#pragma once

#include "platform/Input.h"
#include "play/PlayCommand.h"

#include <cstdint>
#include <optional>

// The command of a shortcut key held with the given modifiers, if the key table has one. The
// letters and digits of the arrows are typed characters, which the board maps (ArrowForKey).
std::optional<TCommand> CommandForKey(uint16_t key, TShiftState shift);
