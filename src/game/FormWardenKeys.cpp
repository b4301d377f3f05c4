#include "game/FormWarden.h"

#include "game/KeyTable.h"
#include "game/WindowZoom.h"
#include "platform/MessageBox.h"

#include <filesystem>

bool TFormWarden::FormShortcut(uint16_t key, TShiftState shift)
{
    const std::optional<TCommand> command = CommandForKey(key, shift);
    if (!command)
        return false;
    // The keyboard repeats only the key held last; a shortcut acts once per press.
    if (key == FShortcutKey || !Play)
        return true;
    FShortcutKey = key;
    Play->Do(*command);
    return true;
}

void TFormWarden::WindowCommand(const TCommand& command)
{
    switch (command.Kind) {
    case TCommandKind::Guide:
        OpenManual();
        break;
    case TCommandKind::Close:
        Close();
        break;
    case TCommandKind::Zoom: {
        const int32_t zoom = ZoomAfter(command.Value, Zoom());
        if (zoom != Zoom() && StepZoom(*this, zoom) && OnZoomChanged)
            OnZoomChanged(zoom);
        break;
    }
    default:
        break;
    }
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
