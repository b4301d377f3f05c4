#include "app/Startup.h"

#include "app/About.h"
#include "app/Paths.h"
#include "common/FileLookup.h"
#include "common/Random.h"
#include "game/FormWarden.h"
#include "game/WindowZoom.h"
#include "platform/Application.h"
#include "platform/EndSignals.h"
#include "platform/FirstFrame.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeFolder.h"
#include "platform/Screen.h"
#include "platform/SingleInstance.h"
#include "play/GameKeeper.h"
#include "play/SizeMemory.h"
#include "solver/PuzzleSolver.h"
#include "surface/PBMInfo.h"

#include <filesystem>
#include <utility>

namespace {

constexpr const char* ProgramTitle = "Pathwarden";
constexpr const char* DataFileName = "warden.vx8";
// Read on the first hint or par, not at start; without it the solver builds its tables.
constexpr const char* SolverTablesFileName = "warden.tables";
// How long after the game window's first frame the hidden about window is made: the frame is
// on the screen by then, also on a busy machine, and no player reaches for the about window
// sooner.
constexpr unsigned AboutSettleMs = 250;

// Start-up boxes come before the application has its title, so they carry it themselves.
TMessageBoxAnswer StartupBox(TMessageBoxKind kind, const std::string& text)
{
    return MessageBox({kind, ProgramTitle, text});
}

// The paths, the display header and the random generator, in the order the modules need them.
void ModuleStartup()
{
    EnsurePaths();
    InitPBMInfo();
    Randomize();
}

// What the title picture shows while the program has no about window.
void ShowAboutNote()
{
    ShowMessageBox(std::string(ProgramTitle) + " " + TFormWarden::VersionText
        + "\n\nTurn the columns and rows of the left board until it matches the picture on the "
          "right. Click the arrows, or type their letters and digits.");
}

} // namespace

TStartupSystem DefaultStartupSystem()
{
    return {DisplayBitsPerPixel, DisplayPlanes, PrivateRuntimeFolder,
        [] { return std::make_unique<TDlgAbout>(); }};
}

bool CheckDisplay(int32_t bitsPerPixel, int32_t planes)
{
    switch (bitsPerPixel * planes) {
    case 1:
        StartupBox(
            TMessageBoxKind::Error, "This program cannot be played on a monochrome display.");
        return false;
    case 4:
        return StartupBox(TMessageBoxKind::Warning,
                   "This program is designed for a minimum 256-color display. You are running a "
                   "16-color display. This will adversely affect the appearance of the graphics "
                   "used in the game. Continue anyway?")
            == TMessageBoxAnswer::Yes;
    default:
        return true;
    }
}

bool CheckDataFile()
{
    std::error_code error;
    if (std::filesystem::is_regular_file(
            FindFileIgnoringCase(ProgramFolder(), DataFileName), error))
        return true;
    StartupBox(TMessageBoxKind::Error,
        std::string("Sorry! Pathwarden cannot find the needed file \"") + ProgramFolder()
            + DataFileName + "\".");
    return false;
}

int RunStartup(const TStartupSystem& system)
{
    ModuleStartup();
    if (!CheckDisplay(system.BitsPerPixel(), system.Planes()))
        return 1;

    const auto instanceMessage
        = static_cast<uint16_t>(Application().RegisterWindowMessage(InstanceMessageName));
    // Held until the game window has closed, or until the process ends on any other way out.
    TSingleInstance instance(system.RuntimeFolder(), InstanceLockName, InstanceMessageName);
    if (instance.AlreadyExists()) {
        if (instance.PostToRunning(Application().StartupId()))
            return 0;
        // The running game may have just ended: then this start plays instead. A game that
        // holds the lock but cannot be told is not joined by a second one writing its settings.
        instance.TakeOver();
        if (instance.AlreadyExists()) {
            StartupBox(TMessageBoxKind::Error,
                "Pathwarden is running already but does not answer. Close it before you start "
                "the game again.");
            return 1;
        }
    }
    if (!CheckDataFile())
        return 1;
    UseSolverTableFile(FindFileIgnoringCase(ProgramFolder(), SolverTablesFileName));

    Application().ProcessMessages();
    Application().Title = ProgramTitle;
    // The about window is made hidden a moment after the game window is on the screen, or at
    // once when it is wanted before: its widgets and fonts need not hold the game window up.
    std::unique_ptr<TForm> about;
    const auto makeAbout = [&about, &system] {
        if (!about && system.CreateAbout)
            about = system.CreateAbout();
    };
    const auto showAbout = [&about, &makeAbout] {
        makeAbout();
        if (about && Application().MainForm() != nullptr)
            about->SetZoom(Application().MainForm()->Zoom());
        if (about)
            about->ShowModal();
        else
            ShowAboutNote();
    };
    // Without an about window the note waits for a click on the title rather than every start.
    const auto showAboutAtStart = [&system] { return system.CreateAbout && ReadShowSplash(); };
    // Made before the window, whose close it serves.
    TGameKeeper keeper(KeptGameFileName);
    TFormWarden game({ProgramFolder(), showAbout, showAboutAtStart}, ProcessRandom());
    game.SettingsFile = SettingsFileName;
    if (game.StartupFailed)
        return 1;
    // The last run's zoom, before the window is first shown; one the screen cannot fit is not.
    ApplyZoom(game, ReadZoom());
    game.OnZoomChanged = WriteZoom;
    // The last run's board size, idle; from then on every size chosen is kept.
    TSizeMemory sizeMemory(SettingsFileName);
    sizeMemory.Restore(*game.Play);
    game.Listen(sizeMemory);
    game.Listen(keeper);
    const TAfterFirstFrame aboutLater(game, makeAbout, AboutSettleMs);
    // The game left in play at the last close comes back once the window shows, after the about
    // window; each close keeps the game in play again. A window closed before it showed leaves
    // the kept game where it is.
    game.OnShown = [&game, &keeper] {
        if (game.Visible())
            keeper.Resume(*game.Play);
    };
    game.OnClose = [&game, &keeper](TCloseAction&) { keeper.Keep(*game.Play); };
    // The desktop's and the terminal's requests to end close the windows, the game's last, so
    // that the one way out keeps the game.
    const TEndSignals endSignals([&game] {
        for (TForm* form : Application().Forms())
            if (form != &game && form->Visible())
                form->Close();
        game.Close();
    });

    // The game window's message hook brings it forward when a later start sends the message,
    // with the focus the desktop granted to that start.
    instance.Watch(instanceMessage, [](uint16_t message, const std::string& startupId) {
        if (TForm* main = Application().MainForm())
            main->SetStartupId(startupId);
        Application().PostMessage({message});
    });
    Application().Run(game);
    // A start made while the windows go is the next running game, not a message to this one.
    instance.Release();
    return 0;
}
