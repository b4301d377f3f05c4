#include "game/FormWarden.h"

#include "game/KeyTable.h"
#include "game/WindowZoom.h"
#include "platform/MessageBox.h"

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

// The installed game keeps a link to its manual in the program's folder, as the build does.
void TFormWarden::OpenManual()
{
    const std::string manual = FHooks.ProgramFolder + "manual.html";
    if (!OpenDocument || !OpenDocument(manual))
        ShowErrorBox("The manual " + manual + " could not be opened.");
}

bool TFormWarden::AnimationsEnabled() const
{
    return DesktopAnimationsEnabled();
}
