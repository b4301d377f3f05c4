#pragma once

#include "controls/KelButton.h"
#include "controls/VX8Tile.h"
#include "game/BoardAccess.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Bevel.h"
#include "platform/Desktop.h"
#include "platform/FirstFrame.h"
#include "platform/FocusSpot.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/PaintBox.h"
#include "platform/Timer.h"
#include "play/PlayListener.h"
#include "play/WardenHints.h"
#include "play/WardenPlay.h"
#include "play/WardenStatistics.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// What the game window needs from the program around it.
struct TFormWardenHooks {
    // Folder of the program file, with its trailing slash; the image library lies in it.
    std::string ProgramFolder;
    // Shows the about window modally (a left click on the title picture).
    std::function<void()> ShowAbout;
    // Whether the about window is shown when the game window first appears.
    std::function<bool()> ShowAboutAtStart;
};

// A picture drawn over the window's background, composed once over the tiles beneath it.
struct TDecoration {
    explicit TDecoration(TPoint position)
        : Position(position)
    {
    }
    TPoint Position;
    TImageHold Node;
    TVX8ImageData* Surface = nullptr;
    TRect Rect;
};

// The play board's box keeps the mouse while a button is held on it, so that the release of a held
// arrow arrives also when the pointer has left the board.
class TBoardBox : public TPaintBox {
public:
    explicit TBoardBox(TForm& parent)
        : TPaintBox(parent)
    {
        SetCaptureMouse(true);
    }
};

// The game's main window: two boards, the arrows around the play board, Start and Exit, the
// size buttons and the decorations, all drawn from the image library in the program's folder.
// Hints, statistics and the boards' accessibility are listeners of their own that follow the play.
class TFormWarden : public TForm, private TWardenScreen {
public:
    TFormWarden(TFormWardenHooks hooks, TRandomSource& random);
    ~TFormWarden() override;

    // The project version from CMake, the one place that names it.
    static constexpr const char* VersionText = PW_VERSION;
    static constexpr const char* VersionDate = "20110722";

    TTileBG BG {*this};
    TBevel Frame {*this};
    TBoardBox pbxBoard {*this};
    TPaintBox pbxBackBoard {*this};
    TKelButton cmdStart {*this};
    TKelButton cmdExit {*this};
    TKelButton cmdColM {*this};
    TKelButton cmdColP {*this};
    TKelButton cmdRowM {*this};
    TKelButton cmdRowP {*this};
    TLabel lblVersion {*this};
    TTimer tmrWarden;

    // Set when set-up failed and the player has been told; the message loop is then not run.
    bool StartupFailed = false;

    // Set up; null until FormCreate has made them.
    std::unique_ptr<TVX8Library> Library;
    std::unique_ptr<TGameImages> Images;
    std::unique_ptr<TWardenPlay> Play;
    std::unique_ptr<TWardenHints> Hints;
    TDecoration Title {{71, 9}};
    TDecoration ColRowCaption {{87, 329}};
    // Tab stops on the two pictures that act on a click.
    TFocusSpot TitleSpot {*this};
    TFocusSpot ColRowSpot {*this};

    void FormCreate();
    void FormShow();
    void FormResize();
    void FormKeyDown(uint16_t& key, TShiftState shift);
    void FormKeyPress(char& key);
    void FormKeyUp(uint16_t& key, TShiftState shift);
    void FormMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void FormMouseMove(TShiftState shift, int32_t x, int32_t y);
    void pbxBoardMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void pbxBoardMouseMove(TShiftState shift, int32_t x, int32_t y);
    void pbxBoardMouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void StartButtonClick();
    void ExitButtonClick();
    void ColRowButtonClick(TKelButton& sender);
    void tmrWardenTimer();
    // The desktop's keys, from the key table (CommandForKey). Each acts once per press, not
    // again while the key is held.
    bool FormShortcut(uint16_t key, TShiftState shift);
    void OpenManual();
    // Adds a part that follows the play; not owned, it must stay while the form plays.
    void Listen(TPlayListener& listener)
    {
        if (Play)
            Play->Listen(listener);
    }
    // Opens a file with the desktop's handler; tests replace it.
    std::function<bool(const std::string&)> OpenDocument = OpenFileWithDefaultHandler;
    // The settings file that keeps the statistics; none are kept without it.
    std::function<std::string()> SettingsFile;
    // Called each time the window shows, after the about window when that shows at start.
    std::function<void()> OnShown;
    // Keeps a zoom the player has chosen for the next start.
    std::function<void(int32_t)> OnZoomChanged;

    void EnableControls(bool idle) override;
    void UpdateVersionLabel();
    // Palette handling, kept for palettised displays: the answer to a request to realise the
    // palette, and to a change of the system palette made by another window (changer).
    int RealizeOwnPalette();
    int QueryNewPalette() { return RealizeOwnPalette(); }
    int PaletteChanged(const void* changer);

    // The background's after-paint hook: the title and the size caption over the tiles.
    void PaintDecorations(TCanvas& canvas);
    void LoadDecoration(const char* name, TDecoration& decoration);
    void ReleaseDecorations();

private:
    void LayOut();
    void LoadCursors();
    void MakeIcon();
    void SetUp();
    void InstallHooks();
    void MakeListeners();
    // What assistive technology is told about the window now.
    std::vector<TAccessibleItem> AccessibleItems();
    void PlayerActed();

    TPoint BoardPosition(TBoardKind kind) const override;
    void ShowBoard(TBoardKind kind, TVX8ImageData* surface) override;
    void StartGameTimer(uint32_t intervalMs) override;
    void StopGameTimer() override;
    bool AnimationsEnabled() const override;
    void WindowCommand(const TCommand& command) override;

    TFormWardenHooks FHooks;
    TRandomSource& FRandom;
    uint32_t FInstanceMessage = 0;
    // The modifiers of the key going down, for the character it types.
    TShiftState FKeyShift = 0;
    // The key of the shortcut that acted, until a key is let go: its repeats do not act again.
    uint16_t FShortcutKey = 0;
    std::unique_ptr<TBoardAccess> FAccess;
    std::unique_ptr<TWardenStatistics> FStatistics;
    // The icons are decoded and handed to the window manager once the window is on the screen
    // and has settled.
    std::unique_ptr<TAfterFirstFrame> FIconLater;
};
