#include "app/Paths.h"

#include "common/IniFile.h"
#include "common/KelException.h"
#include "common/KelStd.h"
#include "game/WindowZoom.h"
#include "platform/Application.h"
#include "platform/Shell.h"

#include <charconv>
#include <cstdlib>

namespace {

std::string FProgramFolder;
std::string FDataFolder;
int32_t ShowSplashCache = -1;

std::string WithDelimiter(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// The user's configuration folder; empty when the system names none.
std::string ConfigFolder()
{
    // Only absolute folders count: a relative one would put the settings wherever the game was
    // started from.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.config";
    return {};
}

// The decimal integer of text, or fallback when text is not one.
int32_t DecimalOr(const std::string& text, int32_t fallback)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last ? value : fallback;
}

} // namespace

const std::string& ProgramFolder()
{
    return FProgramFolder;
}

const std::string& DataFolder()
{
    return FDataFolder;
}

void SetPathsFor(const std::string& executablePath, const std::vector<std::string>& arguments)
{
    const std::string config = ConfigFolder();
    if (config.empty())
        throw KelException(
            "SetPaths: Unable to locate a public application data folder on this system.");
    const std::string common = WithDelimiter(config);
    const size_t slash = executablePath.rfind('/');
    FProgramFolder = WithDelimiter(
        slash == std::string::npos ? std::string(".") : executablePath.substr(0, slash + 1));
    if (TextContains("dev/fact", LowerNameText(FProgramFolder)) && arguments.size() > 1
        && arguments[1] == "mossgrove") {
        FDataFolder = FProgramFolder + "game/";
        return;
    }
    FDataFolder = common + "Larkfield/Pathwarden/";
}

void SetPaths()
{
    const std::vector<std::string>& arguments = Application().Arguments();
    std::string executable = ExecutablePath();
    if (executable.empty() && !arguments.empty())
        executable = arguments[0];
    SetPathsFor(executable, arguments);
}

void EnsurePaths()
{
    if (FProgramFolder.empty())
        SetPaths();
}

std::string SettingsFileName()
{
    return FDataFolder + "Pathwarden.ini";
}

bool ReadShowSplash()
{
    EnsurePaths();
    if (ShowSplashCache < 0) {
        const std::string text = ReadIniString("Options", "ShowSplash", "1", SettingsFileName());
        ShowSplashCache = Clamp(DecimalOr(text, 1), 0, 1);
    }
    return ShowSplashCache == 1;
}

void WriteShowSplash(uint8_t value)
{
    // Without the folders the file would land in the working folder.
    EnsurePaths();
    WriteIniString("Options", "ShowSplash", std::to_string(value), SettingsFileName());
}

int32_t ReadZoom()
{
    EnsurePaths();
    const int32_t zoom = DecimalOr(ReadIniString("Options", "Zoom", "1", SettingsFileName()), 1);
    return zoom >= 1 && zoom <= MaxZoom ? zoom : 1;
}

void WriteZoom(int32_t zoom)
{
    EnsurePaths();
    WriteIniString("Options", "Zoom", std::to_string(zoom), SettingsFileName());
}

std::string KeptGameFileName()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    std::string folder;
    if (state != nullptr && state[0] == '/')
        folder = state;
    else if (home != nullptr && home[0] == '/')
        folder = std::string(home) + "/.local/state";
    else
        throw KelException("No folder for the kept game.");
    return WithDelimiter(folder) + "Larkfield/Pathwarden/Pathwarden.game";
}

void ResetPaths()
{
    FProgramFolder.clear();
    FDataFolder.clear();
    ShowSplashCache = -1;
}
