#pragma once

#include "platform/Form.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The game's start: the checks of the display, the one running copy and the picture library,
// then the game window and the about window, and the message loop.

// The name of the instance lock and of the message a later start sends to the running game.
inline constexpr const char* InstanceLockName = "WARDEN";
inline constexpr const char* InstanceMessageName = "Check for Pathwarden instance";

// What the start-up asks of the machine and makes for it; tests replace parts.
struct TStartupSystem {
    // The display's colour depth.
    std::function<int32_t()> BitsPerPixel;
    std::function<int32_t()> Planes;
    // The folder of the instance lock and the message socket.
    std::function<std::string()> RuntimeFolder;
    // Makes the about window, hidden. While none is made, the game's title picture answers
    // with a short note about the game instead.
    std::function<std::unique_ptr<TForm>()> CreateAbout;
};

// The machine as the game really meets it.
TStartupSystem DefaultStartupSystem();

// Whether the game can be played on a display of bitsPerPixel times planes bits: a monochrome
// one cannot (the player is told), a 16-colour one only when the player agrees.
bool CheckDisplay(int32_t bitsPerPixel, int32_t planes);

// Whether the picture library lies in the program folder, whatever the case of its letters;
// otherwise tells the player which file is missing.
bool CheckDataFile();

// Runs the whole start-up and then the game until its window closes, after the toolkit has
// started. Returns the exit code: 0 after the game, or after handing the start over to the
// running game; 1 when the start failed (a refused display, a running game that cannot be told,
// no or a broken picture library, a window that could not be set up), after the box that says
// why. An error of the module start-up
// (no folder for the settings) is raised to the caller.
int RunStartup(const TStartupSystem& system);
