#include "game/FormWarden.h"

#include "game/WindowZoom.h"
#include "platform/MessageBox.h"

#include <filesystem>

bool TFormWarden::FormShortcut(uint16_t key, TShiftState shift)
{
    const bool ctrl = (shift & ssModifiers & ~ssShift) == ssCtrl;
    const bool withShift = (shift & ssShift) != 0;
    std::function<void()> action;
    if (key == VK_F1 && (shift & ssModifiers) == 0)
        action = [this] { OpenManual(); };
    else if (ctrl && key == 'Z' && !withShift)
        action = [this] { Play->Undo(); };
    else if (ctrl && ((key == 'Z' && withShift) || (key == 'Y' && !withShift)))
        action = [this] { Play->Redo(); };
    else if (ctrl && key == 'N')
        action = [this] {
            if (cmdStart.Enabled())
                StartButtonClick();
        };
    else if (ctrl && key == 'H')
        action = [this, withShift] { withShift ? Hints->ShowMe() : Hints->ShowHint(); };
    else if (ctrl && (key == 'Q' || key == 'W'))
        action = [this] { Close(); };
    else if (const std::optional<int32_t> zoom = ZoomForKey(key, shift, Zoom()))
        action = [this, zoom = *zoom] {
            if (zoom != Zoom() && StepZoom(*this, zoom) && OnZoomChanged)
                OnZoomChanged(zoom);
        };
    if (!action)
        return false;
    // The keyboard repeats only the key held last; a shortcut acts once per press.
    if (key == FShortcutKey || !Play)
        return true;
    FShortcutKey = key;
    action();
    return true;
}

// The installed game keeps a link to its manual in the program's folder, as the build does. With
// no program for web pages the player is told where the guide itself lies.
void TFormWarden::OpenManual()
{
    const std::string manual = FHooks.ProgramFolder + "manual.html";
    if (OpenDocument && OpenDocument(manual))
        return;
    std::error_code error;
    const std::filesystem::path guide = std::filesystem::weakly_canonical(manual, error);
    ShowErrorBox("The player's guide could not be opened here. Open this file in a web browser:\n\n"
        + (error ? manual : guide.string()));
}

bool TFormWarden::AnimationsEnabled() const
{
    return DesktopAnimationsEnabled();
}
