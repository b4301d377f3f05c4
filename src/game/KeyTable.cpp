#include "game/KeyTable.h"

namespace {

// Whether a shortcut wants Shift held, not held, or either.
enum class TShiftRule : uint8_t { Without, With, Either };

struct TShortcut {
    uint16_t Key;
    TShiftRule Shift;
    // The modifiers besides Shift that the shortcut names; no other may be held.
    TShiftState Modifiers;
    TCommand Command;
};

TCommand Of(TCommandKind kind, int32_t value = 0)
{
    return TCommand::Of(kind, value);
}

// The keyboard's shortcuts. Shift may be held with the zoom keys: on many layouts plus is the
// shifted equal key.
const TShortcut Shortcuts[] = {
    {VK_F1, TShiftRule::Without, 0, Of(TCommandKind::Guide)},
    {'Z', TShiftRule::Without, ssCtrl, Of(TCommandKind::Undo)},
    {'Z', TShiftRule::With, ssCtrl, Of(TCommandKind::Redo)},
    {'Y', TShiftRule::Without, ssCtrl, Of(TCommandKind::Redo)},
    {'N', TShiftRule::Either, ssCtrl, Of(TCommandKind::Start)},
    {'H', TShiftRule::Without, ssCtrl, Of(TCommandKind::Hint)},
    {'H', TShiftRule::With, ssCtrl, Of(TCommandKind::ShowMe)},
    {'Q', TShiftRule::Either, ssCtrl, Of(TCommandKind::Close)},
    {'W', TShiftRule::Either, ssCtrl, Of(TCommandKind::Close)},
    {VK_OEM_PLUS, TShiftRule::Either, ssCtrl, Of(TCommandKind::Zoom, 1)},
    {VK_ADD, TShiftRule::Either, ssCtrl, Of(TCommandKind::Zoom, 1)},
    {VK_OEM_MINUS, TShiftRule::Either, ssCtrl, Of(TCommandKind::Zoom, -1)},
    {VK_SUBTRACT, TShiftRule::Either, ssCtrl, Of(TCommandKind::Zoom, -1)},
    {'0', TShiftRule::Either, ssCtrl, Of(TCommandKind::Zoom, 0)},
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
