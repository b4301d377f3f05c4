#include "game/KeyTable.h"

namespace {

// Whether a shortcut wants Shift held, not held, or either.
enum class TShiftRule : uint8_t { Without, With, Either };

struct TShortcut {
    uint16_t Key;
    // The modifiers besides Shift that the shortcut names; no other may be held.
    TShiftState Modifiers;
    TShiftRule Shift;
    TCommand Command;
};

TCommand Of(TCommandKind kind, int32_t value = 0)
{
    return TCommand::Of(kind, value);
}

// The keyboard's shortcuts. Shift may be held with the zoom keys: on many layouts plus is the
// shifted equal key.
const TShortcut Shortcuts[] = {
    {VK_F1, 0, TShiftRule::Without, Of(TCommandKind::Guide)},
    {'Z', ssCtrl, TShiftRule::Without, Of(TCommandKind::Undo)},
    {'Z', ssCtrl, TShiftRule::With, Of(TCommandKind::Redo)},
    {'Y', ssCtrl, TShiftRule::Without, Of(TCommandKind::Redo)},
    {'N', ssCtrl, TShiftRule::Either, Of(TCommandKind::Start)},
    {'H', ssCtrl, TShiftRule::Without, Of(TCommandKind::Hint)},
    {'H', ssCtrl, TShiftRule::With, Of(TCommandKind::ShowMe)},
    {'Q', ssCtrl, TShiftRule::Either, Of(TCommandKind::Close)},
    {'W', ssCtrl, TShiftRule::Either, Of(TCommandKind::Close)},
    {VK_OEM_PLUS, ssCtrl, TShiftRule::Either, Of(TCommandKind::Zoom, 1)},
    {VK_ADD, ssCtrl, TShiftRule::Either, Of(TCommandKind::Zoom, 1)},
    {VK_OEM_MINUS, ssCtrl, TShiftRule::Either, Of(TCommandKind::Zoom, -1)},
    {VK_SUBTRACT, ssCtrl, TShiftRule::Either, Of(TCommandKind::Zoom, -1)},
    {'0', ssCtrl, TShiftRule::Either, Of(TCommandKind::Zoom, 0)},
};

} // namespace

std::optional<TCommand> CommandForKey(uint16_t key, TShiftState shift)
{
    const bool withShift = (shift & ssShift) != 0;
    for (const TShortcut& s : Shortcuts) {
        const bool shiftFits
            = s.Shift == TShiftRule::Either || withShift == (s.Shift == TShiftRule::With);
        if (s.Key == key && (shift & ssModifiers & ~ssShift) == s.Modifiers && shiftFits)
            return s.Command;
    }
    return std::nullopt;
}
