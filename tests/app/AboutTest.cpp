#include "app/About.h"
#include "app/Paths.h"
#include "common/Random.h"
#include "platform/Application.h"
#include "platform/Input.h"
#include "platform/Screen.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScopedVariable.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TColour Black = MakeColour(0, 0, 0);
constexpr TColour Blue = MakeColour(0, 0, 255);

struct TAboutTest : ::testing::Test {
    TAboutTest()
    {
        ResetPaths();
        SetPathsFor((Program.Root / "pathwarden").string(), {"pathwarden"});
        Application().Title = "Pathwarden";
    }
    ~TAboutTest() override { ResetPaths(); }

    TDlgAbout& Make()
    {
        Dialog = std::make_unique<TDlgAbout>([this] { return Now; });
        return *Dialog;
    }
    void ShowAndLayOut()
    {
        Dialog->Show();
        ASSERT_TRUE(
            ProcessMessagesUntil([&] { return RectWidth(Dialog->cmdOK.PlacedRect()) > 1; }));
    }
    std::string Settings() const { return Config.Read("Larkfield/Pathwarden/Pathwarden.ini"); }

    TTempFolder Config;
    TScopedVariable ConfigHome {"XDG_CONFIG_HOME", Config.Root};
    TTempFolder Program;
    std::unique_ptr<TDlgAbout> Dialog;
    int64_t Now = 1'000'000;
};

TEST_F(TAboutTest, EveryComponentHasItsPlaceAndTextAndEveryTextFits)
{
    TDlgAbout& d = Make();
    ShowAndLayOut();
    d.cmdWhatIs.Click();
    ASSERT_TRUE(ProcessMessagesUntil([&] { return RectWidth(d.cmdIKnow.PlacedRect()) > 1; }));
    struct TCase {
        const TNativeControl& Control;
        std::string Name;
        TRect Place;
        std::string Text; // empty: a text of our own, which only has to fit
    };
    const auto at = [](int32_t l, int32_t t, int32_t w, int32_t h) {
        return TRect {l, t, l + w, t + h};
    };
    const TCase cases[] = {{d.bvlMain, "bvlMain", at(7, 8, 413, 237), ""},
        {d.lblHeading, "lblHeading", at(126, 27, 277, 63), "Pathwarden"},
        {d.lblLFFreeware, "lblLFFreeware", at(174, 95, 182, 19), "Larkfield Freeware"},
        {d.lblCopyright, "lblCopyright", at(41, 204, 343, 14), ""},
        {d.lblAuthorCredit, "lblAuthorCredit", at(123, 220, 181, 14), ""},
        {d.rrectYellowVisit, "rrectYellowVisit", at(19, 123, 76, 37), ""},
        {d.rrectYellowSeeDo, "rrectYellowSeeDo", at(332, 123, 76, 37), ""},
        {d.lblYellowSeeDo, "lblYellowSeeDo", at(338, 126, 64, 30), "Lots to see and do!"},
        {d.lblYellowVisit, "lblYellowVisit", at(31, 126, 52, 30), "Come by for a visit!"},
        {d.rrcWhiteURL, "rrcWhiteURL", at(97, 129, 233, 25), ""},
        {d.imgLogo, "imgLogo", at(17, 18, 98, 98), ""},
        {d.lblVersion, "lblVersion", at(399, 41, 15, 14), "1.7"},
        {d.lblURL, "lblURL", at(101, 132, 224, 19), ""},
        {d.lblHomeOf, "lblHomeOf", at(16, 172, 397, 19),
            std::string(TDlgAbout::AnnouncementLines[1])},
        {d.cmdOK, "cmdOK", at(340, 254, 75, 25), "OK"},
        {d.cmdWhatIs, "cmdWhatIs", at(121, 15, 89, 21), "What is a..."},
        {d.chkShowScreen, "chkShowScreen", at(4, 268, 249, 17),
            "Show this window each time Pathwarden starts"},
        {d.pnlWhatIs, "pnlWhatIs", at(15, 122, 397, 116), ""},
        {d.lblWardenInfo, "lblWardenInfo", at(13, 7, 374, 79), ""},
        {d.cmdIKnow, "cmdIKnow", at(300, 88, 89, 21), "Now I know"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Control.Name, c.Name);
        EXPECT_EQ(c.Control.BoundsRect(), c.Place);
        EXPECT_EQ(c.Control.PlacedRect(), c.Place);
        std::string text = c.Text;
        if (const auto* label = dynamic_cast<const TNativeLabel*>(&c.Control)) {
            EXPECT_FALSE(label->TextClipped());
            EXPECT_FALSE(label->Caption().empty());
            text = c.Text.empty() ? label->Caption() : text;
            EXPECT_EQ(label->Caption(), text);
        } else if (const auto* button = dynamic_cast<const TNativeButton*>(&c.Control)) {
            EXPECT_EQ(button->Caption(), text);
        } else if (const auto* box = dynamic_cast<const TNativeCheckBox*>(&c.Control)) {
            EXPECT_EQ(box->Caption(), text);
        }
    }
    EXPECT_EQ(d.Caption(), "Pathwarden: About");
    EXPECT_EQ(d.ClientWidth(), 427);
    EXPECT_EQ(d.ClientHeight(), 286);
    EXPECT_EQ(d.lblHeading.Font().Name, "Times New Roman");
    EXPECT_EQ(d.lblHeading.Font().Height, 56);
    EXPECT_EQ(d.lblLFFreeware.Font().Colour, MakeColour(255, 0, 0));
    EXPECT_EQ(d.lblWardenInfo.Font().Height, 16);
    EXPECT_EQ(d.lblURL.Alignment(), TTextAlign::Centre);
    EXPECT_EQ(d.lblCopyright.Alignment(), TTextAlign::Left);
}

TEST_F(TAboutTest, TheAnnouncementsFollowAFourSecondCycleFromTheMakingWithATimerOnlyWhileShown)
{
    TDlgAbout& d = Make();
    ASSERT_FALSE(d.Visible());
    EXPECT_EQ(d.lblHomeOf.Caption(), TDlgAbout::AnnouncementLines[1]);
    EXPECT_EQ(std::count(TDlgAbout::FlashColours.begin(), TDlgAbout::FlashColours.end(),
                  d.lblHomeOf.Font().Colour),
        1);
    EXPECT_FALSE(d.tmrFlash.Enabled());

    ProcessRandom().Seed(7);
    TRuntimeRandom expected(7);
    struct TCase {
        const char* Act; // "show", "tick" or "close", at the time
        int64_t At;
        size_t Line;
        uint32_t Due; // the timer's next tick, 0 for none
        bool NewColour;
    };
    const TCase cases[] = {
        {"show", 9'000, 3, 3'000, true},
        {"tick", 11'999, 3, 1, false},
        {"tick", 12'050, 0, 3'950, true},
        {"tick", 16'000, 1, 4'000, true},
        {"close", 17'000, 1, 0, false},
        {"show", 30'500, 0, 1'500, true},
        {"show", 31'000, 0, 1'000, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Act) + " at " + std::to_string(c.At));
        Now = 1'000'000 + c.At;
        const TColour before = d.lblHomeOf.Font().Colour;
        if (std::string(c.Act) == "show") {
            d.Hide();
            d.Show();
        } else if (std::string(c.Act) == "tick") {
            d.tmrFlash.Tick();
        } else {
            d.cmdOK.Click();
        }
        EXPECT_EQ(d.lblHomeOf.Caption(), TDlgAbout::AnnouncementLines[c.Line]);
        EXPECT_EQ(d.tmrFlash.Tag, intptr_t(c.Line));
        EXPECT_EQ(d.tmrFlash.Enabled(), c.Due != 0);
        if (c.Due != 0) {
            EXPECT_EQ(d.tmrFlash.Interval(), c.Due);
        }
        if (c.NewColour)
            EXPECT_EQ(
                d.lblHomeOf.Font().Colour, TDlgAbout::FlashColours[size_t(expected.Random(6))]);
        else
            EXPECT_EQ(d.lblHomeOf.Font().Colour, before);
    }
}

TEST_F(TAboutTest, ThePanelOpensAndClosesWithItsButtonEnabledOnlyWhileClosed)
{
    TDlgAbout& d = Make();
    ShowAndLayOut();
    d.cmdWhatIs.Click();
    EXPECT_TRUE(d.pnlWhatIs.Visible());
    EXPECT_FALSE(d.cmdWhatIs.Enabled());
    d.cmdIKnow.Click();
    EXPECT_FALSE(d.pnlWhatIs.Visible());
    EXPECT_TRUE(d.cmdWhatIs.Enabled());

    d.cmdWhatIs.Click();
    d.cmdOK.Click();
    EXPECT_FALSE(d.Visible());
    d.Show();
    EXPECT_FALSE(d.pnlWhatIs.Visible());
    EXPECT_TRUE(d.cmdWhatIs.Enabled());
}

TEST_F(TAboutTest, EnterPressesOKUnlessAnotherButtonHasTheFocusAndEscapeClosesLikeOK)
{
    TDlgAbout& d = Make();
    ShowAndLayOut();
    EXPECT_EQ(d.FocusedControl(), &d.cmdOK);
    d.DeliverKey(VK_TAB);
    EXPECT_EQ(d.FocusedControl(), &d.cmdWhatIs);
    d.DeliverKey(VK_TAB);
    EXPECT_EQ(d.FocusedControl(), &d.chkShowScreen); // the closed panel is passed over

    d.DeliverKey(VK_ESCAPE);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return !d.Visible(); }));
    EXPECT_FALSE(d.tmrFlash.Enabled());
    ShowAndLayOut();
    d.DeliverKey(VK_RETURN);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return !d.Visible(); }));
    EXPECT_TRUE(d.chkShowScreen.Checked());

    ShowAndLayOut();
    d.cmdWhatIs.SetFocus();
    d.DeliverKey(VK_RETURN);
    EXPECT_TRUE(d.Visible());
    EXPECT_TRUE(d.pnlWhatIs.Visible());
}

TEST_F(TAboutTest, TheLinkLightsOverItselfAndDimsOverTheWindowOrTheLogo)
{
    TDlgAbout& d = Make();
    struct TCase {
        TPoint At;
        bool Hot;
    };
    // Over the link, the heading (no handler), the free area, the white shape, the logo.
    for (const TCase& c : {TCase {{150, 140}, true}, TCase {{200, 50}, true},
             TCase {{60, 197}, false}, TCase {{99, 140}, true}, TCase {{50, 50}, false}}) {
        d.PointerMove(c.At.X, c.At.Y);
        EXPECT_EQ(d.LinkHot(), c.Hot) << c.At.X << "," << c.At.Y;
        EXPECT_EQ(d.lblURL.Font().Colour, c.Hot ? Blue : Black);
        EXPECT_EQ(d.lblURL.Font().Underline, c.Hot);
        EXPECT_TRUE(d.lblURL.Font().Bold);
    }
}

TEST_F(TAboutTest, ClickingTheLinkOpensTheManualUnderTheBusyCursorEvenWhenOpeningFails)
{
    TDlgAbout& d = Make();
    std::vector<std::string> opened;
    TCursor during = crDefault;
    d.OpenLink = [&](const std::string& address) {
        opened.push_back(address);
        during = ScreenCursor();
        return false;
    };
    d.PointerDown(150, 140);
    d.PointerUp(152, 141);

    EXPECT_EQ(opened, std::vector<std::string> {d.LinkAddress});
    EXPECT_EQ(d.LinkAddress, "file://" + Program.Path("manual.html"));
    EXPECT_EQ(during, crHourGlass);
    EXPECT_EQ(ScreenCursor(), crDefault);
}

TEST_F(TAboutTest, TheCheckBoxShowsTheSettingAndWritesEveryChange)
{
    Make();
    EXPECT_TRUE(Dialog->chkShowScreen.Checked());
    EXPECT_EQ(Settings(), "[Options]\nShowSplash=1\n");
    // A file that already says so is left as it is at the next start.
    struct stat before { };
    ASSERT_EQ(::stat(Config.Path("Larkfield/Pathwarden/Pathwarden.ini").c_str(), &before), 0);
    ResetPaths();
    Make();
    struct stat after { };
    ASSERT_EQ(::stat(Config.Path("Larkfield/Pathwarden/Pathwarden.ini").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);

    Dialog->chkShowScreen.Click();
    EXPECT_EQ(Settings(), "[Options]\nShowSplash=0\n");

    ResetPaths();
    const std::string off = "; mine\n[Options]\nShowSplash=0\n";
    Config.Write("Larkfield/Pathwarden/Pathwarden.ini", off);
    Make();
    EXPECT_FALSE(Dialog->chkShowScreen.Checked());
    EXPECT_EQ(Settings(), off);
    Dialog->chkShowScreen.Click();
    EXPECT_EQ(Settings(), "; mine\n[Options]\nShowSplash=1\n");
}

TEST(AboutFace, TheTextsStandOutOnLightFacesAndNotOnDarkOnesByTheirContrast)
{
    const std::pair<TColour, bool> cases[]
        = {{MakeColour(0xF6, 0xF5, 0xF4), true}, {MakeColour(0xFF, 0xFF, 0xFF), true},
            {MakeColour(0xF0, 0xF0, 0xF0), true}, {MakeColour(0x35, 0x35, 0x35), false},
            {MakeColour(0xC0, 0xC0, 0xC0), false}, {MakeColour(0, 0, 0), false}};
    for (const auto& [face, readable] : cases)
        EXPECT_EQ(AboutTextsReadableOn(face), readable) << std::hex << face;
}

TEST_F(TAboutTest, ADarkThemeGivesTheWindowALightFaceAndALightThemeKeepsItsOwn)
{
    Application().EnsureToolkit();
    GtkSettings* settings = gtk_settings_get_default();
    gchar* theme = nullptr;
    gboolean dark = FALSE;
    g_object_get(
        settings, "gtk-theme-name", &theme, "gtk-application-prefer-dark-theme", &dark, nullptr);
    struct TCase {
        gboolean Dark;
        bool LightFace;
    };
    for (const TCase c : {TCase {TRUE, true}, TCase {FALSE, false}}) {
        g_object_set(settings, "gtk-theme-name", "Adwaita", "gtk-application-prefer-dark-theme",
            c.Dark, nullptr);
        TDlgAbout& d = Make();
        ShowAndLayOut();
        EXPECT_EQ(d.LightFace(), c.LightFace) << c.Dark;
        EXPECT_EQ(AboutTextsReadableOn(d.ThemeFaceColour()), !c.LightFace) << c.Dark;
        d.Hide();
    }
    g_object_set(
        settings, "gtk-theme-name", theme, "gtk-application-prefer-dark-theme", dark, nullptr);
    g_free(theme);
}

TEST_F(TAboutTest, TheLogoComesFromTheProgramFolderAndIsLeftOutWhenMissing)
{
    EXPECT_FALSE(Make().imgLogo.HasPicture());
    ResetPaths();
    SetPathsFor(PW_BUILD_DIR "/pathwarden", {"pathwarden"});
    EXPECT_TRUE(Make().imgLogo.HasPicture());
}

TEST(ManualAddress, IsTheCopyBesideTheProgramOrTheInstalledGuideItsLinkLeadsTo)
{
    const TTempFolder root;
    const std::filesystem::path program = root.Root / "my games" / "lib" / "games" / "pathwarden";
    std::filesystem::create_directories(program);
    const std::string encodedRoot = "file://" + root.Root.string() + "/my%20games";

    EXPECT_EQ(
        ManualAddress(program.string() + "/"), encodedRoot + "/lib/games/pathwarden/manual.html");
    std::filesystem::create_directories(root.Root / "my games" / "share" / "games" / "pathwarden");
    root.Write("my games/share/games/pathwarden/manual.html", "<html></html>");
    std::filesystem::create_symlink(
        "../../../share/games/pathwarden/manual.html", program / "manual.html");
    EXPECT_EQ(
        ManualAddress(program.string() + "/"), encodedRoot + "/share/games/pathwarden/manual.html");
}

} // namespace
