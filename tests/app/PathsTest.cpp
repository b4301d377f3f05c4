#include "app/Paths.h"
#include "common/KelException.h"
#include "support/ScopedVariable.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Each test starts with fresh folders, its own configuration folder and no HOME surprises.
struct TPathsTest : ::testing::Test {
    TPathsTest() { ResetPaths(); }
    ~TPathsTest() override { ResetPaths(); }

    std::string SettingsWith(const std::string& text)
    {
        SetPathsFor("/opt/pathwarden/pathwarden", {"pathwarden"});
        std::filesystem::create_directories(DataFolder());
        Config.Write("Larkfield/Pathwarden/Pathwarden.ini", text);
        return SettingsFileName();
    }

    TTempFolder Config;
    TScopedVariable ConfigHome {"XDG_CONFIG_HOME", Config.Root};
    TScopedVariable Home {"HOME", Config.Root};
};

TEST_F(TPathsTest, TheDataFolderIsUnderTheConfigFolderOrHomeOrAnError)
{
    SetPathsFor("/opt/pathwarden/pathwarden", {"pathwarden"});
    EXPECT_EQ(ProgramFolder(), "/opt/pathwarden/");
    EXPECT_EQ(SettingsFileName(), Config.Root.string() + "/Larkfield/Pathwarden/Pathwarden.ini");

    ::unsetenv("XDG_CONFIG_HOME");
    SetPathsFor("/opt/pathwarden/pathwarden", {"pathwarden"});
    EXPECT_EQ(DataFolder(), Config.Root.string() + "/.config/Larkfield/Pathwarden/");

    ::unsetenv("HOME");
    try {
        SetPathsFor("/elsewhere/pathwarden", {"pathwarden"});
        ADD_FAILURE() << "no failure";
    } catch (const KelException& e) {
        EXPECT_STREQ(e.what(),
            "SetPaths: Unable to locate a public application data folder on this system.");
    }
    EXPECT_EQ(ProgramFolder(), "/opt/pathwarden/"); // the former values stay
}

TEST_F(TPathsTest, ARelativeConfigFolderOrHomeIsIgnored)
{
    struct TCase {
        const char* Xdg;
        const char* Home;
        std::string DataFolder; // empty: no folder
    };
    const std::string home = Config.Root.string();
    const std::vector<TCase> cases {
        {"relconfig", home.c_str(), home + "/.config/Larkfield/Pathwarden/"},
        {"relconfig", "relhome", ""},
        {nullptr, "relhome", ""},
        {"", "./relhome", ""},
    };
    for (const TCase& c : cases) {
        ResetPaths();
        c.Xdg ? ::setenv("XDG_CONFIG_HOME", c.Xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
        ::setenv("HOME", c.Home, 1);
        if (c.DataFolder.empty()) {
            EXPECT_THROW(SetPathsFor("/opt/p/pathwarden", {"p"}), KelException) << c.Home;
        } else {
            SetPathsFor("/opt/p/pathwarden", {"p"});
            EXPECT_EQ(DataFolder(), c.DataFolder) << c.Xdg;
        }
    }
}

TEST_F(TPathsTest, OnlyADevFactFolderWithMossgroveFirstRedirectsTheDataFolder)
{
    struct TCase {
        std::string Executable;
        std::vector<std::string> Arguments;
        bool Redirected;
    };
    const std::vector<TCase> cases {
        {"/src/Dev/Fact/bin/pathwarden", {"pathwarden", "mossgrove"}, true},
        {"/src/dev/fact/pathwarden", {"pathwarden", "mossgrove", "more"}, true},
        {"/src/Dev/Fact/bin/pathwarden", {"pathwarden", "Mossgrove"}, false},
        {"/src/Dev/Fact/bin/pathwarden", {"pathwarden"}, false},
        {"/src/Dev/Fact/bin/pathwarden", {"pathwarden", "x", "mossgrove"}, false},
        {"/src/dev/bin/pathwarden", {"pathwarden", "mossgrove"}, false},
    };
    for (const TCase& c : cases) {
        SetPathsFor(c.Executable, c.Arguments);
        const std::string program = c.Executable.substr(0, c.Executable.rfind('/') + 1);
        EXPECT_EQ(DataFolder() == program + "game/", c.Redirected) << c.Executable;
    }
}

TEST_F(TPathsTest, TheSettingShowsUnlessItReadsAsZeroOrBelow)
{
    const std::vector<std::pair<std::string, bool>> cases {{"[Options]\nShowSplash=5\n", true},
        {"[Options]\nShowSplash=-1\n", false}, {"[options]\nshowsplash=0\n", false},
        {"[Options]\nShowSplash=abc\n", true}, {"[Options]\nShowSplash=\n", true},
        {"[Other]\nShowSplash=0\n", true}};
    for (const auto& [text, shows] : cases) {
        ResetPaths();
        SettingsWith(text);
        EXPECT_EQ(ReadShowSplash(), shows) << text;
    }
    ResetPaths();
    SetPathsFor("/opt/pathwarden/pathwarden", {"pathwarden"});
    EXPECT_TRUE(ReadShowSplash()); // no file at all
}

TEST_F(TPathsTest, AWriteKeepsOtherContentAndTakesEffectAtTheNextStart)
{
    const std::string file = SettingsWith("; mine\n[Options]\nShowSplash=1\nOther=yes\n");
    EXPECT_TRUE(ReadShowSplash());
    WriteShowSplash(0);
    EXPECT_EQ(Config.Read("Larkfield/Pathwarden/Pathwarden.ini"),
        "; mine\n[Options]\nShowSplash=0\nOther=yes\n");
    EXPECT_TRUE(ReadShowSplash()); // cached for the run
    ResetPaths();
    EXPECT_FALSE((SetPathsFor("/opt/p/pathwarden", {"p"}), ReadShowSplash()));
}

TEST_F(TPathsTest, AWriteCreatesTheMissingDataFolder)
{
    SetPathsFor("/opt/pathwarden/pathwarden", {"pathwarden"});
    ASSERT_FALSE(std::filesystem::exists(DataFolder()));
    WriteShowSplash(0);
    EXPECT_EQ(Config.Read("Larkfield/Pathwarden/Pathwarden.ini"), "[Options]\nShowSplash=0\n");
}

} // namespace

TEST_F(TPathsTest, TheZoomIsAWholeNumberFromOneToTheMostElseOneAndAWriteKeepsIt)
{
    SetPathsFor("/opt/pathwarden/pathwarden", {"pathwarden"});
    EXPECT_EQ(ReadZoom(), 1); // no file
    const std::pair<std::string, int32_t> cases[] = {{"Zoom=2", 2}, {"zoom=+3", 3}, {"Zoom=4", 4},
        {"Zoom=5", 1}, {"Zoom=0", 1}, {"Zoom=-2", 1}, {"Zoom=2x", 1}, {"Zoom=", 1}, {"", 1}};
    for (const auto& [line, zoom] : cases) {
        SettingsWith("[Options]\nShowSplash=0\n" + line);
        EXPECT_EQ(ReadZoom(), zoom) << line;
    }
    WriteZoom(3);
    EXPECT_EQ(ReadZoom(), 3);
    EXPECT_EQ(
        Config.Read("Larkfield/Pathwarden/Pathwarden.ini"), "[Options]\nShowSplash=0\nZoom=3\n");
}

// Only absolute folders count, as for the settings.
TEST_F(TPathsTest, TheKeptGameIsInTheStateFolderOrUnderHomeOrAnError)
{
    const TScopedVariable state {"XDG_STATE_HOME", "/var/state"};
    const struct {
        const char* State;
        const char* Home;
        const char* File; // null: an error
    } cases[] = {
        {"/var/state", "/home/p", "/var/state/Larkfield/Pathwarden/Pathwarden.game"},
        {"/var/state/", "relhome", "/var/state/Larkfield/Pathwarden/Pathwarden.game"},
        {"relstate", "/home/p", "/home/p/.local/state/Larkfield/Pathwarden/Pathwarden.game"},
        {nullptr, "/home/p", "/home/p/.local/state/Larkfield/Pathwarden/Pathwarden.game"},
        {"relstate", "relhome", nullptr},
    };
    for (const auto& c : cases) {
        c.State ? ::setenv("XDG_STATE_HOME", c.State, 1) : ::unsetenv("XDG_STATE_HOME");
        ::setenv("HOME", c.Home, 1);
        if (c.File != nullptr)
            EXPECT_EQ(KeptGameFileName(), c.File) << c.State;
        else
            EXPECT_THROW(KeptGameFileName(), KelException) << c.Home;
    }
}
