#pragma once

#include <string>

// What the desktop's own settings and services offer the game.

// Opens a local file with the desktop's default handler for its type; false when the file is
// missing or no handler could be started.
bool OpenFileWithDefaultHandler(const std::string& path);

// Whether the desktop wants animations shown; false when the user has turned them off. Read
// anew at each call, so a change made while the game runs is followed.
bool DesktopAnimationsEnabled();
// Overrides the desktop's choice for this process, as a settings daemon would.
void SetDesktopAnimationsEnabled(bool enabled);
