#include "app/About.h"

#include "app/Paths.h"
#include "common/Random.h"
#include "platform/Application.h"
#include "platform/Screen.h"
#include "platform/Shell.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <utility>

namespace {

constexpr const char* ManualFileName = "manual.html";
constexpr const char* LogoFileName = "about-logo.png";
// Enough for the large and bold texts of the window.
constexpr double MinimumContrast = 3.0;

TFont ArialFont(int32_t height, bool bold = false, TColour colour = 0)
{
    return {.Name = "Arial", .Height = height, .Colour = colour, .Bold = bold};
}

struct TPlace {
    int32_t Left, Top, Width, Height;
};

void PlaceLabel(TNativeLabel& label, const char* name, TPlace place, const std::string& caption,
    const TFont& font, TTextAlign align = TTextAlign::Left, bool wrap = false)
{
    label.Name = name;
    label.SetBounds(place.Left, place.Top, place.Width, place.Height);
    label.SetFont(font);
    label.SetAlignment(align);
    label.SetWordWrap(wrap);
    label.SetCaption(caption);
}

// A file address for a path: bytes other than unreserved characters and the separator are
// written as %XX.
std::string FileAddress(const std::string& path)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string address = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
            || (byte >= '0' && byte <= '9')
            || std::string_view("-._~/").find(c) != std::string_view::npos) {
            address += c;
        } else {
            address += '%';
            address += Hex[byte >> 4];
            address += Hex[byte & 0xF];
        }
    }
    return address;
}

// The relative luminance of a colour of the sRGB space.
double Luminance(TColour colour)
{
    const auto linear = [](uint32_t channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear((colour >> 16) & 0xFF) + 0.7152 * linear((colour >> 8) & 0xFF)
        + 0.0722 * linear(colour & 0xFF);
}

double Contrast(TColour a, TColour b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

bool AboutTextsReadableOn(TColour face)
{
    // The flash colours hold every fixed colour of the window's texts: black, the reds, the blues.
    return std::all_of(TDlgAbout::FlashColours.begin(), TDlgAbout::FlashColours.end(),
        [face](TColour text) { return Contrast(text, face) >= MinimumContrast; });
}

TDlgAbout::TDlgAbout(std::function<int64_t()> clock)
    : OpenLink(OpenAddress)
    , FClock(std::move(clock))
{
    BuildLayout();
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnMouseMove = [this](TShiftState, int32_t, int32_t) { FormMouseMove(); };
    imgLogo.OnMouseMove = [this](int32_t, int32_t) { FormMouseMove(); };
    lblURL.OnMouseMove = [this](int32_t, int32_t) { lblURLMouseMove(); };
    rrcWhiteURL.OnMouseMove = [this](int32_t, int32_t) { lblURLMouseMove(); };
    lblURL.OnClick = [this] { lblURLClick(); };
    cmdWhatIs.OnClick = [this] { cmdWhatIsClick(); };
    cmdIKnow.OnClick = [this] { cmdIKnowClick(); };
    chkShowScreen.OnClick = [this] { chkShowScreenClick(); };
    cmdOK.OnClick = [this] { cmdOKClick(); };
    OnCancel = [this] { cmdOKClick(); };
    OnClose = [this](TCloseAction&) { FormClose(); };
    tmrFlash.SetEnabled(false);
    tmrFlash.SetInterval(FlashInterval);
    tmrFlash.SetOnTimer([this] { tmrFlashTimer(); });
    Create();
}

// Positions are left, top, width, height in client pixels; font heights are character heights.
void TDlgAbout::BuildLayout()
{
    SetClientSize(427, 286);
    SetCentred(true);
    Font = ArialFont(12);
    const TFont plain = ArialFont(12);
    const TFont small = ArialFont(11);

    bvlMain.Name = "bvlMain";
    bvlMain.SetBounds(7, 8, 413, 237);
    PlaceLabel(lblHeading, "lblHeading", {126, 27, 277, 63}, "Pathwarden",
        {.Name = "Times New Roman", .Height = 56, .Bold = true}, TTextAlign::Centre, true);
    // The name is one long word: set a little tighter, it keeps clear of the version number.
    lblHeading.SetLetterSpacing(-2.5);
    PlaceLabel(lblLFFreeware, "lblLFFreeware", {174, 95, 182, 19}, "Larkfield Freeware",
        ArialFont(16, true, MakeColour(255, 0, 0)), TTextAlign::Centre);
    PlaceLabel(lblCopyright, "lblCopyright", {41, 204, 343, 14},
        "Copyright \u00a9 2026 Larkfield. Free to play, free to share.", small);
    PlaceLabel(lblAuthorCredit, "lblAuthorCredit", {123, 220, 181, 14},
        "Written by Quillon Ashgrove", small, TTextAlign::Centre);
    rrectYellowVisit.Name = "rrectYellowVisit";
    rrectYellowVisit.SetBounds(19, 123, 76, 37);
    rrectYellowVisit.SetBrushColour(MakeColour(255, 255, 0));
    rrectYellowSeeDo.Name = "rrectYellowSeeDo";
    rrectYellowSeeDo.SetBounds(332, 123, 76, 37);
    rrectYellowSeeDo.SetBrushColour(MakeColour(255, 255, 0));
    PlaceLabel(lblYellowSeeDo, "lblYellowSeeDo", {338, 126, 64, 30}, "Lots to see and do!", plain,
        TTextAlign::Centre, true);
    PlaceLabel(lblYellowVisit, "lblYellowVisit", {31, 126, 52, 30}, "Come by for a visit!", plain,
        TTextAlign::Centre, true);
    rrcWhiteURL.Name = "rrcWhiteURL";
    rrcWhiteURL.SetBounds(97, 129, 233, 25);
    imgLogo.Name = "imgLogo";
    imgLogo.SetBounds(17, 18, 98, 98);
    PlaceLabel(lblVersion, "lblVersion", {399, 41, 15, 14}, "", small);
    PlaceLabel(lblURL, "lblURL", {101, 132, 224, 19}, "Pathwarden manual", ArialFont(16, true),
        TTextAlign::Centre);
    PlaceLabel(
        lblHomeOf, "lblHomeOf", {16, 172, 397, 19}, "", ArialFont(16, true), TTextAlign::Centre);
    cmdOK.Name = "cmdOK";
    cmdOK.SetBounds(340, 254, 75, 25);
    cmdOK.SetCaption("OK");
    cmdOK.SetFont(plain);
    cmdOK.SetDefault(true);
    cmdWhatIs.Name = "cmdWhatIs";
    cmdWhatIs.SetBounds(121, 15, 89, 21);
    cmdWhatIs.SetCaption("What is a...");
    cmdWhatIs.SetFont(plain);
    chkShowScreen.Name = "chkShowScreen";
    chkShowScreen.SetBounds(4, 268, 249, 17);
    chkShowScreen.SetCaption("Show this window each time Pathwarden starts");
    chkShowScreen.SetFont(small);
    pnlWhatIs.Name = "pnlWhatIs";
    pnlWhatIs.SetBounds(15, 122, 397, 116);
    pnlWhatIs.SetVisible(false);
    PlaceLabel(lblWardenInfo, "lblWardenInfo", {13, 7, 374, 79},
        "A warden is a keeper, from an old word for a guard. The wardens of old kept "
        "a land's roads and paths open and in good order. In Pathwarden you are that "
        "keeper: you turn the roads back into their right places.",
        {.Name = "Times New Roman", .Height = 16}, TTextAlign::Centre, true);
    cmdIKnow.Name = "cmdIKnow";
    cmdIKnow.SetBounds(300, 88, 89, 21);
    cmdIKnow.SetCaption("Now I know");
    cmdIKnow.SetFont(plain);
    SetTabOrder({&cmdOK, &cmdWhatIs, &pnlWhatIs, &cmdIKnow, &chkShowScreen});
    cmdOK.SetFocus();
}

void TDlgAbout::FormCreate()
{
    bvlMain.SetEnabled(false);
    lblURL.SetCursor(2);
    lblVersion.SetCaption("1.7");
    chkShowScreen.SetChecked(ReadShowSplash());
    SetCaption(Application().Title + ": About");
    LinkAddress = ManualAddress(ProgramFolder());
    imgLogo.LoadFromFile(ProgramFolder() + LogoFileName);
    Randomize();
    FMadeAt = FClock();
    FollowCycle();
    MatchFaceToTexts();
}

void TDlgAbout::FormShow()
{
    pnlWhatIs.SetVisible(false);
    cmdWhatIs.SetEnabled(true);
    MatchFaceToTexts();
    FollowCycle();
}

void TDlgAbout::FormClose()
{
    tmrFlash.SetEnabled(false);
}

void TDlgAbout::MatchFaceToTexts()
{
    SetLightFace(!AboutTextsReadableOn(ThemeFaceColour()));
}

void TDlgAbout::FormMouseMove()
{
    SetLinkHot(false);
}

void TDlgAbout::lblURLMouseMove()
{
    SetLinkHot(true);
}

void TDlgAbout::tmrFlashTimer()
{
    FollowCycle();
}

void TDlgAbout::FollowCycle()
{
    const int64_t elapsed = std::max<int64_t>(FClock() - FMadeAt, 0);
    const int64_t step = elapsed / FlashInterval;
    if (step != FStep)
        ShowStep(step);
    if (!Visible()) {
        tmrFlash.SetEnabled(false);
        return;
    }
    // Due at the next step, counted from the making, however late this tick came.
    tmrFlash.SetInterval(static_cast<uint32_t>((step + 1) * FlashInterval - elapsed));
    tmrFlash.SetEnabled(true);
}

void TDlgAbout::ShowStep(int64_t step)
{
    FStep = step;
    const auto i = static_cast<size_t>((step + 1) % 4);
    lblHomeOf.SetCaption(std::string(AnnouncementLines[i]));
    TFont font = lblHomeOf.Font();
    font.Colour = FlashColours[static_cast<size_t>(ProcessRandom().Random(6))];
    lblHomeOf.SetFont(font);
    tmrFlash.Tag = static_cast<intptr_t>(i);
}

void TDlgAbout::SetLinkHot(bool on)
{
    if (on == FLinkHot)
        return;
    FLinkHot = on;
    TFont font = lblURL.Font();
    font.Colour = on ? MakeColour(0, 0, 255) : MakeColour(0, 0, 0);
    font.Underline = on;
    lblURL.SetFont(font);
}

void TDlgAbout::lblURLClick()
{
    // The opener's failure is not reported; the cursor comes back either way.
    {
        const TBusyCursor busy;
        ApplyCursor();
        OpenLink(LinkAddress);
    }
    ApplyCursor();
}

void TDlgAbout::cmdWhatIsClick()
{
    cmdWhatIs.SetEnabled(false);
    pnlWhatIs.SetVisible(true);
}

void TDlgAbout::cmdIKnowClick()
{
    pnlWhatIs.SetVisible(false);
    cmdWhatIs.SetEnabled(true);
}

void TDlgAbout::chkShowScreenClick()
{
    WriteShowSplash(chkShowScreen.Checked() ? 1 : 0);
}

void TDlgAbout::cmdOKClick()
{
    Close();
}

std::string ManualAddress(const std::string& programFolder)
{
    namespace fs = std::filesystem;
    const fs::path folder(programFolder);
    std::error_code error;
    fs::path manual = fs::weakly_canonical(folder / ManualFileName, error);
    if (error)
        manual = folder / ManualFileName;
    return FileAddress(manual.string());
}
