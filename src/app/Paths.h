#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The program's two folders and its one setting. ProgramFolder holds the executable and the
// picture library; DataFolder holds the settings file. Both end in a path delimiter and are
// computed once, by the first EnsurePaths.

const std::string& ProgramFolder();
const std::string& DataFolder();

// Computes both folders from the running executable and the program's arguments. Raises
// KelException "SetPaths: Unable to locate a public application data folder on this system."
// when neither $XDG_CONFIG_HOME nor $HOME names an absolute folder; the folders then keep their
// values.
void SetPaths();
// SetPaths for the executable at executablePath started with arguments (argument 0 first).
void SetPathsFor(const std::string& executablePath, const std::vector<std::string>& arguments);
// SetPaths unless the folders are known.
void EnsurePaths();

std::string SettingsFileName();
// Whether the about window shows at start: read from the settings file once per run, true when
// the file, the key or a number is missing.
bool ReadShowSplash();
// Stores the setting for the next start, creating the data folder when needed; a failure is not
// reported and the answer of ReadShowSplash does not change during the run.
void WriteShowSplash(uint8_t value);

// The game window's zoom kept for the next start: 1 when the file or the key is missing or the
// value is not a whole number from 1 to MaxZoom. Whether the screen fits it is asked elsewhere.
int32_t ReadZoom();
// Stores the zoom as WriteShowSplash stores its setting.
void WriteZoom(int32_t zoom);

// The game kept between runs, in the state folder: $XDG_STATE_HOME, else $HOME/.local/state,
// followed by Larkfield/Pathwarden/; relative folders do not count. Raises KelException
// "No folder for the kept game." when neither names one.
std::string KeptGameFileName();

// Forgets the folders and the cached setting, as at process start.
void ResetPaths();
