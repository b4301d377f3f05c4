#include "app/Startup.h"
#include "app/Paths.h"
#include "platform/SingleInstance.h"
#include "platform/Timer.h"
#include "platform/UniqueFd.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScopedVariable.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/file.h>
#include <vector>

namespace {

const std::string MissingFileText = "Sorry! Pathwarden cannot find the needed file \"";

// A program folder and a private runtime folder of the test's own; the settings keep the
// about window off.
struct TStartupTest : ::testing::Test {
    TStartupTest()
    {
        std::filesystem::create_directories(Folder.Path("run"));
        std::filesystem::permissions(Folder.Path("run"), std::filesystem::perms::owner_all);
        ResetPaths();
        SetPathsFor(Folder.Path("pathwarden"), {"pathwarden"});
        WriteShowSplash(0);
        System.BitsPerPixel = [this] { return Bits; };
        System.Planes = [] { return 1; };
        System.RuntimeFolder = [this] { return Folder.Path("run/"); };
    }
    ~TStartupTest() override { ResetPaths(); }

    // Runs the start-up; a message loop that starts is ended after a while and reported.
    int Start()
    {
        TTimer guard;
        guard.SetInterval(3000);
        guard.SetOnTimer([this] {
            LoopRan = true;
            Application().Terminate();
        });
        return RunStartup(System);
    }

    void CopyLibrary() const
    {
        std::filesystem::copy_file(PW_BUILD_DIR "/Warden.vx8", Folder.Path("Warden.vx8"),
            std::filesystem::copy_options::overwrite_existing);
    }

    TTempFolder Folder;
    TScopedVariable ConfigHome {"XDG_CONFIG_HOME", Folder.Root};
    TStartupSystem System;
    int32_t Bits = 24;
    bool LoopRan = false;
};

TEST_F(TStartupTest, EachDisplayDepthAsksOrRefusesOrSaysNothing)
{
    struct TCase {
        int32_t Bits, Planes;
        TMessageBoxAnswer Answer;
        bool GoesOn;
        std::vector<TMessageBoxKind> Boxes;
    };
    const std::vector<TCase> cases {
        {1, 1, TMessageBoxAnswer::Yes, false, {TMessageBoxKind::Error}},
        {4, 1, TMessageBoxAnswer::Yes, true, {TMessageBoxKind::Warning}},
        {1, 4, TMessageBoxAnswer::No, false, {TMessageBoxKind::Warning}},
        {2, 1, TMessageBoxAnswer::No, true, {}},
        {8, 1, TMessageBoxAnswer::No, true, {}},
        {16, 1, TMessageBoxAnswer::No, true, {}},
        {24, 1, TMessageBoxAnswer::No, true, {}},
        {32, 1, TMessageBoxAnswer::No, true, {}},
    };
    for (const TCase& c : cases) {
        TMessageBoxRecorder boxes(c.Answer);
        EXPECT_EQ(CheckDisplay(c.Bits, c.Planes), c.GoesOn) << c.Bits << "x" << c.Planes;
        ASSERT_EQ(boxes.Requests.size(), c.Boxes.size()) << c.Bits << "x" << c.Planes;
        if (!c.Boxes.empty()) {
            EXPECT_EQ(boxes.Requests[0].Kind, c.Boxes[0]);
            EXPECT_EQ(boxes.Requests[0].Caption, "Pathwarden");
        }
    }
    TMessageBoxRecorder boxes;
    CheckDisplay(1, 1);
    CheckDisplay(4, 1);
    EXPECT_EQ(boxes.Requests.at(0).Text, "This program cannot be played on a monochrome display.");
    EXPECT_EQ(boxes.Requests.at(1).Text,
        "This program is designed for a minimum 256-color display. You are running a 16-color "
        "display. This will adversely affect the appearance of the graphics used in the game. "
        "Continue anyway?");
}

TEST_F(TStartupTest, TheLibraryIsFoundInAnyCaseAndAMissingOneIsNamedWithItsFullPath)
{
    TMessageBoxRecorder boxes;
    EXPECT_FALSE(CheckDataFile());
    std::filesystem::create_directory(Folder.Path("warden.vx8")); // a folder is no file
    EXPECT_FALSE(CheckDataFile());
    ASSERT_EQ(boxes.Requests.size(), 2U);
    EXPECT_EQ(boxes.Requests[0].Kind, TMessageBoxKind::Error);
    EXPECT_EQ(boxes.Requests[0].Text, MissingFileText + Folder.Path("warden.vx8") + "\".");

    std::filesystem::remove(Folder.Path("warden.vx8"));
    Folder.Write("Warden.vx8", "");
    EXPECT_TRUE(CheckDataFile());
    EXPECT_EQ(boxes.Requests.size(), 2U);
}

TEST_F(TStartupTest, EachRefusalEndsWithOneMessageNoLoopAndExitCodeOne)
{
    struct TCase {
        const char* Name;
        int32_t Bits;
        bool Library;
        std::string Text;
    };
    const std::vector<TCase> cases {
        {"monochrome", 1, true, "This program cannot be played on a monochrome display."},
        {"16 colours declined", 4, true, "This program is designed for a minimum 256-color"},
        {"no library", 24, false, MissingFileText + Folder.Path("warden.vx8") + "\"."},
        {"broken library", 24, true, "Pathwarden encountered a problem on start-up: "},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove(Folder.Path("Warden.vx8"));
        if (c.Library)
            Folder.Write("Warden.vx8", "not a picture library");
        Bits = c.Bits;
        TMessageBoxRecorder boxes;
        EXPECT_EQ(Start(), 1) << c.Name;
        EXPECT_FALSE(LoopRan) << c.Name;
        ASSERT_EQ(boxes.Requests.size(), 1U) << c.Name;
        EXPECT_EQ(boxes.Requests[0].Text.substr(0, c.Text.size()), c.Text) << c.Name;
    }
    // The display is refused before the instance lock is taken.
    Bits = 1;
    TMessageBoxRecorder boxes;
    std::filesystem::remove(Folder.Path("run/WARDEN"));
    Start();
    EXPECT_FALSE(std::filesystem::exists(Folder.Path("run/WARDEN")));
}

TEST_F(TStartupTest, TheAboutWindowIsMadeHiddenOnceTheGameWindowIsOnTheScreen)
{
    std::filesystem::copy_file(PW_BUILD_DIR "/Warden.vx8", Folder.Path("Warden.vx8"),
        std::filesystem::copy_options::overwrite_existing);
    int made = 0;
    bool gameShown = false;
    System.CreateAbout = [&] {
        ++made;
        gameShown = Application().MainForm() != nullptr && Application().MainForm()->Visible();
        Application().Terminate();
        return std::make_unique<TForm>();
    };
    TMessageBoxRecorder boxes;
    EXPECT_EQ(Start(), 0);
    EXPECT_FALSE(LoopRan);
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(gameShown);
    EXPECT_TRUE(boxes.Requests.empty());
}

TEST_F(TStartupTest, TheInstanceIsFreeBeforeTheWindowsGo)
{
    CopyLibrary();
    struct TProbe : TForm {
        std::function<void()> OnGone;
        ~TProbe() override { OnGone(); }
    };
    bool taken = true;
    System.CreateAbout = [&] {
        auto probe = std::make_unique<TProbe>();
        probe->OnGone = [&] {
            taken = TSingleInstance(Folder.Path("run"), InstanceLockName, InstanceMessageName)
                        .AlreadyExists();
        };
        Application().Terminate();
        return probe;
    };
    EXPECT_EQ(Start(), 0);
    EXPECT_FALSE(taken);
}

TEST_F(TStartupTest, ALaterStartThatCannotHandOverSaysSoAndEndsWithOne)
{
    CopyLibrary();
    // A running game that cannot be reached: the lock is held and no socket listens.
    const TUniqueFd lock(::open(Folder.Path("run/WARDEN").c_str(), O_RDWR | O_CREAT, 0600));
    ASSERT_EQ(::flock(lock.Get(), LOCK_EX), 0);
    TMessageBoxRecorder boxes;
    EXPECT_EQ(Start(), 1);
    EXPECT_FALSE(LoopRan);
    ASSERT_EQ(boxes.Requests.size(), 1U);
    EXPECT_EQ(boxes.Requests[0].Kind, TMessageBoxKind::Error);
    EXPECT_EQ(boxes.Requests[0].Text,
        "Pathwarden is running already but does not answer. Close it before you start the game "
        "again.");
}

TEST_F(TStartupTest, ALaterStartTellsTheRunningOneAndEndsWithoutAMessage)
{
    TSingleInstance running(Folder.Path("run"), InstanceLockName, InstanceMessageName);
    int messages = 0;
    running.Watch(0xC001, [&messages](uint16_t, const std::string&) { ++messages; });
    TMessageBoxRecorder boxes;
    EXPECT_EQ(Start(), 0);
    EXPECT_FALSE(LoopRan);
    EXPECT_TRUE(boxes.Requests.empty());
    EXPECT_TRUE(ProcessMessagesUntil([&messages] { return messages == 1; }));
}

} // namespace
