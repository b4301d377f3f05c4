#include "game/FormWarden.h"

#include "platform/Screen.h"

namespace {

constexpr TCursor HandCursor = 1;

bool Inside(const TRect& r, int32_t x, int32_t y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

} // namespace

void TFormWarden::FormKeyDown(uint16_t& key, TShiftState shift)
{
    UpdateVersionLabel();
    // The keyboard's repeat of a shortcut is not a new act of the player's: it would end the
    // "show me" that the shortcut began.
    if (key != FShortcutKey)
        PlayerActed();
    FKeyShift = shift;
    FormShortcut(key, shift);
}

// With a modifier other than Shift held a letter or digit belongs to a shortcut, the game's or the
// desktop's, never to an arrow.
void TFormWarden::FormKeyPress(char& key)
{
    const bool modified = (FKeyShift & ssModifiers & ~ssShift) != 0;
    FKeyShift = 0;
    if (Play && !modified)
        Play->KeyPress(static_cast<unsigned char>(key));
}

// Any key let go counts as the release of the active arrow; so does the loss of the input, which
// the form passes on as the release of each key held.
void TFormWarden::FormKeyUp(uint16_t&, TShiftState)
{
    FKeyShift = 0;
    FShortcutKey = 0;
    if (Play)
        Play->Do(TCommand::Of(TCommandKind::ReleaseArrow));
}

void TFormWarden::pbxBoardMouseDown(TMouseButton, TShiftState, int32_t x, int32_t y)
{
    PlayerActed();
    if (Play)
        Play->BoardMouseDown(x, y);
}

void TFormWarden::pbxBoardMouseMove(TShiftState, int32_t x, int32_t y)
{
    pbxBoard.SetCursor(Play && Play->ArrowAcceptedAt(x, y) ? HandCursor : crDefault);
}

void TFormWarden::pbxBoardMouseUp(TMouseButton, TShiftState, int32_t, int32_t)
{
    if (Play)
        Play->Do(TCommand::Of(TCommandKind::ReleaseArrow));
}

// The background passes its clicks here: the title opens the about window, the size caption
// gives a new picture between games.
void TFormWarden::FormMouseDown(TMouseButton button, TShiftState, int32_t x, int32_t y)
{
    PlayerActed();
    if (Title.Surface != nullptr && Inside(Title.Rect, x, y) && button == TMouseButton::Left
        && FHooks.ShowAbout)
        FHooks.ShowAbout();
    if (ColRowCaption.Surface != nullptr && Inside(ColRowCaption.Rect, x, y) && Play)
        Play->Do(TCommand::Of(TCommandKind::NewPicture));
}

void TFormWarden::FormMouseMove(TShiftState, int32_t x, int32_t y)
{
    if (Title.Surface != nullptr)
        SetCursor(Inside(Title.Rect, x, y) ? HandCursor : crDefault);
}

void TFormWarden::StartButtonClick()
{
    if (Play)
        Play->Do(TCommand::Of(TCommandKind::Start));
}

void TFormWarden::ExitButtonClick()
{
    if (Play)
        Play->Do(TCommand::Of(TCommandKind::Stop));
}

void TFormWarden::ColRowButtonClick(TKelButton& sender)
{
    if (Play)
        Play->Do(TCommand::Of(TCommandKind::SizeStep, static_cast<int32_t>(sender.Tag)));
}

void TFormWarden::tmrWardenTimer()
{
    if (Play)
        Play->TimerTick();
    else
        tmrWarden.SetEnabled(false);
}

void TFormWarden::LoadDecoration(const char* name, TDecoration& decoration)
{
    const TImageHold source = TImageHold::Open(*Library, name);
    TVX8ImageData* picture = source.Surface();
    if (picture == nullptr)
        return;
    TImageHold composite = TImageHold::Create(*Library, "", picture->Width, picture->Height);
    try {
        TVX8ImageData* surface = composite.Surface();
        if (surface == nullptr)
            return;
        BG.PaintTilesTo(*surface, decoration.Position);
        surface->Draw({0, 0}, *picture, picture->Bounds());
        decoration.Rect = {decoration.Position.X, decoration.Position.Y,
            decoration.Position.X + surface->Width, decoration.Position.Y + surface->Height};
        decoration.Surface = surface;
        decoration.Node = std::move(composite);
    } catch (const KelException&) {
        // A decoration that cannot be composed is left out: neither drawn nor clickable.
        decoration.Surface = nullptr;
    }
}

void TFormWarden::ReleaseDecorations()
{
    for (TDecoration* decoration : {&Title, &ColRowCaption}) {
        decoration->Node.Release();
        decoration->Surface = nullptr;
    }
}

void TFormWarden::PaintDecorations(TCanvas& canvas)
{
    if (!Library)
        return;
    if (Title.Surface == nullptr)
        LoadDecoration("warden", Title);
    if (ColRowCaption.Surface == nullptr)
        LoadDecoration("colrow", ColRowCaption);
    TDeviceContext& dc = canvas.Handle();
    const TDisplayPalette* previous = dc.SelectPalette(Library->GetHPal(), false);
    try {
        for (TDecoration* decoration : {&Title, &ColRowCaption})
            if (decoration->Surface != nullptr)
                decoration->Surface->Display(
                    dc, decoration->Position, decoration->Surface->Bounds());
    } catch (...) {
        dc.SelectPalette(previous, false);
        throw;
    }
    dc.SelectPalette(previous, false);
}
