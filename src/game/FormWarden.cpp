#include "game/FormWarden.h"

#include "common/FileLookup.h"
#include "common/KelException.h"
#include "platform/FormTooltip.h"
#include "platform/MainLoop.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "surface/PBMInfo.h"

#include <cstdio>
#include <utility>

namespace {

constexpr int32_t DesignWidth = 517;
constexpr int32_t DesignHeight = 403;
constexpr TCursor HandCursor = 1;
constexpr int32_t FrameMargin = 20;
// The icons make a large window property; the display server takes it after the first frame.
constexpr unsigned IconSettleMs = 250;

} // namespace

TFormWarden::TFormWarden(TFormWardenHooks hooks, TRandomSource& random)
    : FHooks(std::move(hooks))
    , FRandom(random)
{
    SetCaption("Pathwarden");
    KeyPreview = true;
    Font.Name = "System";
    Font.Height = 13;
    LayOut();
    SetClientSize(DesignWidth, DesignHeight);
    SetCentred(true);
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    // The game's time runs only while the window has the focus.
    OnActivate = [this] {
        RealizeOwnPalette();
        if (Play)
            Play->SetFocused(true);
    };
    OnDeactivate = [this] {
        if (Play)
            Play->SetFocused(false);
    };
    OnPaint = [this](TCanvas&) { RealizeOwnPalette(); };
    OnResize = [this] { FormResize(); };
    OnKeyDown = [this](uint16_t& key, TShiftState shift) { FormKeyDown(key, shift); };
    OnKeyPress = [this](char& key) { FormKeyPress(key); };
    OnKeyUp = [this](uint16_t& key, TShiftState shift) { FormKeyUp(key, shift); };
    OnMouseDown = [this](TMouseButton b, TShiftState s, int32_t x, int32_t y) {
        FormMouseDown(b, s, x, y);
    };
    OnMouseMove = [this](TShiftState s, int32_t x, int32_t y) { FormMouseMove(s, x, y); };
    Create();
}

TFormWarden::~TFormWarden()
{
    tmrWarden.SetEnabled(false);
    SetFormAccessibility(*this, nullptr);
    SetFormTooltip(*this, nullptr);
    if (FInstanceMessage != 0) {
        Application().OnActivate = nullptr;
        Application().OnMessage = nullptr;
    }
    BG.OnAfterPaint = nullptr;
    if (TTileBG::GlobalImageLibrary() == Library.get())
        TTileBG::SetGlobalImageLibrary(nullptr);
    if (TKelButton::GlobalImageLibrary() == Library.get())
        TKelButton::SetGlobalImageLibrary(nullptr);
}

// The layout at the designed client size; FormResize centres it in any other.
void TFormWarden::LayOut()
{
    BG.Name = "BG";
    BG.SetAlign(TAlign::Client);
    BG.ApplyImageName("tile");
    Frame.Name = "Frame";
    Frame.SetBounds(16, 12, 485, 377);
    pbxBoard.Name = "pbxBoard";
    pbxBoard.SetBounds(37, 104, BoardSurfaceSize, BoardSurfaceSize);
    pbxBoard.OnPaint = [this](TCanvas& canvas) {
        ShowSurface(&canvas.Handle(), Images ? Images->PlayBoard : nullptr,
            Library ? Library->GetHPal() : nullptr);
    };
    pbxBoard.OnMouseDown = [this](TMouseButton b, TShiftState s, int32_t x, int32_t y) {
        pbxBoardMouseDown(b, s, x, y);
    };
    pbxBoard.OnMouseMove
        = [this](TShiftState s, int32_t x, int32_t y) { pbxBoardMouseMove(s, x, y); };
    pbxBoard.OnMouseUp = [this](TMouseButton b, TShiftState s, int32_t x, int32_t y) {
        pbxBoardMouseUp(b, s, x, y);
    };
    pbxBackBoard.Name = "pbxBackBoard";
    pbxBackBoard.SetBounds(273, 104, BoardSurfaceSize, BoardSurfaceSize);
    pbxBackBoard.OnPaint = [this](TCanvas& canvas) {
        ShowSurface(&canvas.Handle(), Images ? Images->PreviewBoard : nullptr,
            Library ? Library->GetHPal() : nullptr);
    };
    struct TButtonPlace {
        TKelButton& Button;
        const char* Name;
        const char* Image;
        intptr_t Tag;
        int32_t Left, Top, Width, Height;
    } const buttons[] = {
        {cmdStart, "cmdStart", "start", 0, 299, 329, 156, 28},
        {cmdExit, "cmdExit", "exit", 0, 299, 359, 156, 28},
        {cmdColM, "cmdColM", "min_btn", 1, 43, 329, 40, 28},
        {cmdColP, "cmdColP", "plus_btn", 3, 199, 329, 40, 28},
        {cmdRowM, "cmdRowM", "min_btn", 2, 43, 359, 40, 28},
        {cmdRowP, "cmdRowP", "plus_btn", 4, 199, 359, 40, 28},
    };
    for (const TButtonPlace& place : buttons) {
        TKelButton& button = place.Button;
        button.Name = place.Name;
        button.Tag = place.Tag;
        button.SetBounds(place.Left, place.Top, place.Width, place.Height);
        button.ApplyImageName(place.Image);
        button.SetCursor(HandCursor);
        button.ApplyFrameCount(3);
        button.ApplyEnabled(false);
        button.TabStop = true;
    }
    for (const auto& place : {std::pair {&TitleSpot, &Title}, {&ColRowSpot, &ColRowCaption}}) {
        TFocusSpot* spot = place.first;
        TDecoration* picture = place.second;
        spot->Area = [picture] { return picture->Surface != nullptr ? picture->Rect : TRect {}; };
        spot->OnClick = [this, picture] {
            FormMouseDown(TMouseButton::Left, ssLeft, picture->Rect.Left, picture->Rect.Top);
        };
    }
    TitleSpot.Name = "TitleSpot";
    TitleSpot.SetEnabled(static_cast<bool>(FHooks.ShowAbout));
    ColRowSpot.Name = "ColRowSpot";
    cmdStart.OnClick = [this](TKelButton&) { StartButtonClick(); };
    cmdExit.OnClick = [this](TKelButton&) { ExitButtonClick(); };
    for (TKelButton* button : {&cmdColM, &cmdColP, &cmdRowM, &cmdRowP})
        button->OnClick = [this](TKelButton& sender) { ColRowButtonClick(sender); };
    lblVersion.Name = "lblVersion";
    lblVersion.SetBounds(3, 388, 47, 14);
    lblVersion.Font.Name = "Arial";
    lblVersion.Font.Height = 11;
    lblVersion.Font.Colour = MakeColour(255, 255, 0);
    lblVersion.Transparent = true;
    lblVersion.SetVisible(false);
    tmrWarden.SetEnabled(false);
    tmrWarden.SetInterval(60);
    tmrWarden.SetOnTimer([this] { tmrWardenTimer(); });
}

void TFormWarden::FormCreate()
{
    try {
        SetUp();
    } catch (const KelException& error) {
        StartupFailed = true;
        ShowErrorBox(Application().Title + " encountered a problem on start-up: " + error.what());
    }
}

void TFormWarden::SetUp()
{
    char version[64];
    std::snprintf(version, sizeof version, "V%s (%s)", VersionText, VersionDate);
    lblVersion.SetCaption(version);
    LoadCursors();
    Frame.SetBounds(-FrameMargin, -FrameMargin, ClientWidth() + 2 * FrameMargin,
        ClientHeight() + 2 * FrameMargin);
    Frame.SetEnabled(false);
    InitPBMInfo();
    // Kept, and the application's hooks installed, only once the library has opened: a library
    // that failed must not be asked for its palette at the next activation.
    auto library = std::make_unique<TVX8Library>();
    library->Open(FindFileIgnoringCase(FHooks.ProgramFolder, "Warden.vx8"), true);
    Library = std::move(library);
    InstallHooks();
    TTileBG::SetGlobalImageLibrary(Library.get());
    TKelButton::SetGlobalImageLibrary(Library.get());
    BG.OnAfterPaint = [this](TCanvas& canvas, const TRect&) { PaintDecorations(canvas); };
    Images = std::make_unique<TGameImages>(*Library);
    Play = std::make_unique<TWardenPlay>(
        FRandom, *Images, [this](TVX8ImageData& surface, TPoint p) { BG.PaintTilesTo(surface, p); },
        static_cast<TWardenScreen&>(*this));
    MakeListeners();
    FIconLater = std::make_unique<TAfterFirstFrame>(
        *this, [this] { MakeIcon(); }, IconSettleMs);
    SetFormTooltip(
        *this, [this](int32_t x, int32_t y) { return FStatistics->PreviewTooltip(x, y); });
    SetFormAccessibility(*this, [this] { return AccessibleItems(); });
    Play->SetSize(3, 3);
    UpdateVersionLabel();
    ExitButtonClick();
}

// In the order they hear of the play: help first, so that the announcements and the statistics
// of a won game know whether it was helped.
void TFormWarden::MakeListeners()
{
    const auto announce = [this](const std::string& text) { AnnounceOnForm(*this, text); };
    Hints = std::make_unique<TWardenHints>(*Play, Play->Coach(), announce, RunOnMainLoop);
    FAccess = std::make_unique<TBoardAccess>(*Play, pbxBoard, pbxBackBoard, announce);
    FStatistics = std::make_unique<TWardenStatistics>(
        *Play, [this] { return pbxBackBoard.BoundsRect(); },
        [this] { return SettingsFile ? SettingsFile() : std::string(); }, announce);
    for (TPlayListener* listener :
        std::initializer_list<TPlayListener*> {Hints.get(), FAccess.get(), FStatistics.get()})
        Listen(*listener);
}

void TFormWarden::PlayerActed()
{
    if (Play)
        Play->PlayerActed();
}

// The buttons, the title and the size caption first, in a fixed order; then the boards, whose
// arrows exist only while a game is played.
std::vector<TAccessibleItem> TFormWarden::AccessibleItems()
{
    std::vector<TAccessibleItem> items;
    const std::pair<TKelButton*, const char*> buttons[]
        = {{&cmdStart, "Start"}, {&cmdExit, "Exit"}, {&cmdColM, "Fewer columns"},
            {&cmdColP, "More columns"}, {&cmdRowM, "Fewer rows"}, {&cmdRowP, "More rows"}};
    for (const auto& [control, name] : buttons) {
        TKelButton* button = control;
        items.push_back({TAccessibleRole::PushButton, name, {}, button->AccessibleState(),
            button->BoundsRect(), [button] { button->DoAccessibleAction(); }});
    }
    items.push_back({TAccessibleRole::Link, "About Pathwarden", {}, TitleSpot.AccessibleState(),
        Title.Rect, FHooks.ShowAbout});
    // The size caption deals a new picture between games, as its click does.
    items.push_back({TAccessibleRole::PushButton, "New picture", {}, ColRowSpot.AccessibleState(),
        ColRowCaption.Rect, [this] { ColRowSpot.KeyboardRelease(true); }});
    if (FAccess)
        for (TAccessibleItem& item : FAccess->Items())
            items.push_back(std::move(item));
    return items;
}

void TFormWarden::InstallHooks()
{
    FInstanceMessage = Application().RegisterWindowMessage("Check for Pathwarden instance");
    Application().OnActivate = [this] { RealizeOwnPalette(); };
    Application().OnMessage = [this](const TMessage& message, bool&) {
        if (message.Msg == FInstanceMessage)
            SetFocus();
    };
}

// A cursor that cannot be loaded leaves the default one.
void TFormWarden::LoadCursors()
{
    for (TCursor i = 1; i <= 2; ++i)
        if (!LoadCursorResource(i, HandPointCursorResource - 1 + i))
            break;
}

// The window's icon: the desktop's icon in all its sizes, beside the program (the build folder) or
// installed where the desktop finds it; else a road crossing on an empty cell, from the
// library's own pictures.
void TFormWarden::MakeIcon()
{
    std::vector<std::string> themes {FHooks.ProgramFolder + "icons/hicolor"};
    for (const std::string& data : DesktopDataFolders(PW_INSTALL_DATA_DIRS))
        themes.push_back(data + "icons/hicolor");
    for (const std::string& theme : themes)
        if (SetIconFromTheme(theme, "pathwarden"))
            return;
    const TDisplayPalette* palette = Library->GetHPal();
    const TImageHold icon = TImageHold::Create(*Library, "_icon_", 32, 32);
    TVX8ImageData* surface = icon.Surface();
    if (palette == nullptr || surface == nullptr || Images->Empty == nullptr
        || Images->Roads == nullptr)
        return;
    surface->Draw({0, 0}, *Images->Empty, Images->Empty->Bounds());
    for (const int32_t arm : {0, 2, 4, 6})
        surface->Draw({0, 0}, *Images->Roads, {0, 32 * arm, 32, 32 * arm + 32});
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 32; ++x) {
            const uint8_t index = *surface->StartLine(x, y);
            surface->UnlockSegment(x, y);
            pixels.push_back(0xFF000000u | palette->ColourOf(index));
        }
    SetIcon(32, 32, pixels);
}

void TFormWarden::FormShow()
{
    if (FHooks.ShowAboutAtStart && FHooks.ShowAboutAtStart() && FHooks.ShowAbout)
        FHooks.ShowAbout();
    if (OnShown)
        OnShown();
}

void TFormWarden::EnableControls(bool idle)
{
    const int32_t cols = Play ? Play->View().Board.Cols() : MinLines;
    const int32_t rows = Play ? Play->View().Board.Rows() : MinLines;
    cmdStart.ApplyEnabled(idle);
    cmdExit.ApplyEnabled(!idle);
    cmdColP.ApplyEnabled(idle && cols < MaxLines);
    cmdRowP.ApplyEnabled(idle && rows < MaxLines);
    cmdColM.ApplyEnabled(idle && cols > MinLines);
    cmdRowM.ApplyEnabled(idle && rows > MinLines);
    ColRowSpot.SetEnabled(idle);
}

// The window may report a size before set-up has made the boards; nothing is drawn then.
void TFormWarden::FormResize()
{
    if (!Play)
        return;
    const TPoint old {Frame.Left(), Frame.Top()};
    Frame.SetPosition((ClientWidth() - Frame.Width()) / 2, (ClientHeight() - Frame.Height()) / 2);
    const int32_t dx = Frame.Left() - old.X;
    const int32_t dy = Frame.Top() - old.Y;
    for (TControl* control : std::initializer_list<TControl*> {
             &cmdStart, &cmdExit, &cmdColP, &cmdColM, &cmdRowP, &cmdRowM, &pbxBoard, &pbxBackBoard})
        control->SetPosition(control->Left() + dx, control->Top() + dy);
    if (Frame.Left() > 0)
        lblVersion.SetPosition(
            Frame.Left() + 4, Frame.Top() + Frame.Height() - lblVersion.Height() - 2);
    else
        lblVersion.SetPosition(3, ClientHeight() - lblVersion.Height() - 1);
    for (TDecoration* decoration : {&Title, &ColRowCaption})
        decoration->Position = {decoration->Position.X + dx, decoration->Position.Y + dy};
    ReleaseDecorations();
    Play->RenderBoards();
}

void TFormWarden::UpdateVersionLabel()
{
    const bool on = CapsLockOn();
    if (lblVersion.Visible() != on)
        lblVersion.SetVisible(on);
}

int TFormWarden::RealizeOwnPalette()
{
    const TDisplayPalette* palette = Library ? Library->GetHPal() : nullptr;
    if (palette == nullptr)
        return 0;
    TControlDC dc = BG.GetDC();
    const TDisplayPalette* previous = dc.DC().SelectPalette(palette, false);
    const int changed = dc.DC().RealizePalette() & 0xFFFF;
    if (changed > 0)
        Invalidate();
    dc.DC().SelectPalette(previous, false);
    return changed;
}

// Another window changed the system palette: this window's pixels are brought to the nearest
// colours of the new one. The displays here keep every colour, so mapping them back is all.
int TFormWarden::PaletteChanged(const void* changer)
{
    const TDisplayPalette* palette = Library ? Library->GetHPal() : nullptr;
    if (palette == nullptr || changer == this)
        return 0;
    TControlDC dc = BG.GetDC();
    const TDisplayPalette* previous = dc.DC().SelectPalette(palette, true);
    dc.DC().RealizePalette();
    dc.DC().SelectPalette(previous, true);
    return 0;
}

TPoint TFormWarden::BoardPosition(TBoardKind kind) const
{
    const TPaintBox& box = kind == TBoardKind::Play ? pbxBoard : pbxBackBoard;
    return {box.Left(), box.Top()};
}

void TFormWarden::ShowBoard(TBoardKind kind, TVX8ImageData* surface)
{
    TControlDC dc = (kind == TBoardKind::Play ? pbxBoard : pbxBackBoard).GetDC();
    ShowSurface(&dc.DC(), surface, Library ? Library->GetHPal() : nullptr);
}

void TFormWarden::StartGameTimer(uint32_t intervalMs)
{
    tmrWarden.SetInterval(intervalMs);
    tmrWarden.SetEnabled(true);
}

void TFormWarden::StopGameTimer()
{
    tmrWarden.SetEnabled(false);
}
