#include "game/FormWarden.h"
#include "platform/Screen.h"
#include "play/GameTestSupport.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScopedVariable.h"
#include "support/TempFolder.h"

#include <glib.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

class FormWardenTest : public ::testing::Test {
protected:
    FormWardenTest()
    {
        Random.FallBack(TestSeed());
        Application().Title = "Pathwarden";
        Form = std::make_unique<TFormWarden>(Hooks(), Random);
    }

    TFormWardenHooks Hooks()
    {
        return {PW_BUILD_DIR "/", [this] { ++AboutShown; }, nullptr};
    }
    TColour Colour(uint8_t index) { return Form->Library->GetHPal()->ColourOf(index); }
    void Click(TControl& control)
    {
        const TRect r = control.BoundsRect();
        Form->MouseDown(TMouseButton::Left, ssLeft, r.Left + 5, r.Top + 5);
        Form->MouseUp(TMouseButton::Left, 0, r.Left + 5, r.Top + 5);
    }
    void Scramble()
    {
        Click(Form->cmdStart);
        while (Form->tmrWarden.Enabled())
            Form->tmrWarden.Tick();
    }

    TScriptedRandom Random;
    int32_t AboutShown = 0;
    std::unique_ptr<TFormWarden> Form;
};

TEST_F(FormWardenTest, StartsIdleWithTheLayoutBothBoardsAndTheRightButtons)
{
    ASSERT_FALSE(Form->StartupFailed);
    EXPECT_EQ(Form->Caption(), "Pathwarden");
    EXPECT_EQ(Form->ClientRect(), (TRect {0, 0, 517, 403}));
    const std::pair<TControl*, TRect> layout[]
        = {{&Form->pbxBoard, {37, 104, 245, 312}}, {&Form->pbxBackBoard, {273, 104, 481, 312}},
            {&Form->cmdStart, {299, 329, 455, 357}}, {&Form->cmdExit, {299, 359, 455, 387}},
            {&Form->cmdColM, {43, 329, 83, 357}}, {&Form->cmdColP, {199, 329, 239, 357}},
            {&Form->cmdRowM, {43, 359, 83, 387}}, {&Form->cmdRowP, {199, 359, 239, 387}},
            {&Form->lblVersion, {3, 388, 50, 402}}, {&Form->BG, {0, 0, 517, 403}}};
    for (const auto& [control, bounds] : layout)
        EXPECT_EQ(control->BoundsRect(), bounds) << control->Name;
    for (TKelButton* b : {&Form->cmdStart, &Form->cmdColP, &Form->cmdRowP})
        EXPECT_TRUE(b->Enabled()) << b->Name;
    for (TKelButton* b : {&Form->cmdExit, &Form->cmdColM, &Form->cmdRowM})
        EXPECT_FALSE(b->Enabled()) << b->Name;
    EXPECT_EQ(Form->lblVersion.Caption(), "V1.7.5.2 (20110722)");
    EXPECT_EQ(Form->lblVersion.Visible(), CapsLockOn());
    Form->Update();
    const TPixelBuffer& store = Form->BackingStore();
    EXPECT_EQ(store.Pixel(37 + 56, 104 + 56), Colour(GridLineIndex)); // play board border
    EXPECT_EQ(store.Pixel(37 + 60, 104 + 153), Colour(EdgeLineIndex));
    TVX8ImageData& preview = *Form->Images->PreviewBoard;
    EXPECT_EQ(store.Pixel(273 + 100, 104 + 100), Colour(PixelOf(preview, 100, 100)));
    EXPECT_EQ(Form->Title.Rect, (TRect {71, 9, 446, 101}));
    Form->FormResize(); // at the designed size nothing moves
    EXPECT_EQ(Form->lblVersion.BoundsRect(), (TRect {3, 388, 50, 402}));
    EXPECT_EQ(Form->pbxBoard.BoundsRect(), (TRect {37, 104, 245, 312}));
}

TEST_F(FormWardenTest, PaletteMessagesThatChangeNoColourLeaveTheWindowAsItIs)
{
    Form->Update();
    Form->Update(); // the first paint may leave more to paint
    int32_t paints = 0;
    Form->OnPaint = [&paints](TCanvas&) { ++paints; };
    const TColour before = Form->BackingStore().Pixel(37 + 100, 104 + 70);
    const TForm other;

    EXPECT_EQ(Form->QueryNewPalette(), 0);
    EXPECT_EQ(Form->PaletteChanged(&other), 0);
    Form->Update();

    EXPECT_EQ(paints, 0) << "invalidated";
    EXPECT_EQ(Form->BackingStore().Pixel(37 + 100, 104 + 70), before);
}

TEST_F(FormWardenTest, AnAddedListenerHearsThePlayAndThePlayersOwnKeysAndClicks)
{
    struct TTrail : TPlayListener {
        std::string Heard;
        void PlayEvent(TPlayEvent event, const TPlayView&) override
        {
            Heard += "SCMWX"[static_cast<int>(event)];
        }
        void PlayerActed() override { Heard += 'p'; }
    } trail;
    Form->Listen(trail);

    Scramble();
    Form->KeyDown('N', ssCtrl); // a shortcut, and then its repeat
    Form->KeyDown('N', ssCtrl);
    Form->KeyUp('N', ssCtrl);
    Form->MouseDown(TMouseButton::Left, ssLeft, 37 + 100, 104 + 100); // between the arrows
    Form->MouseUp(TMouseButton::Left, 0, 37 + 100, 104 + 100);
    Click(Form->cmdExit);

    EXPECT_EQ(trail.Heard, "SCppX");
}

TEST_F(FormWardenTest, TheWindowGetsTheDesktopIconInEverySizeTheArtProgramDrawsAfterItsFirstFrame)
{
    EXPECT_TRUE(Form->IconSizes().empty());
    Form->Show();
    // A quarter of a second after the first frame; a busy machine may take a few seconds.
    for (int32_t second = 0; second < 5 && Form->IconSizes().empty(); ++second)
        ProcessMessagesUntil([&] { return !Form->IconSizes().empty(); });
    Form->Hide();
    EXPECT_EQ(Form->IconSizes(), (std::vector<int32_t> {16, 22, 24, 32, 48, 64, 128, 256}));
}

// Installed, the program folder lies apart from share/icons; the desktop's data folders lead there.
TEST_F(FormWardenTest, AnInstalledGameFindsItsIconsInTheDesktopsDataFolders)
{
    namespace fs = std::filesystem;
    const TTempFolder installed;
    fs::create_directories(installed.Path("lib/games/pathwarden"));
    fs::create_directories(installed.Path("share/icons"));
    fs::copy_file(PW_BUILD_DIR "/Warden.vx8", installed.Path("lib/games/pathwarden/Warden.vx8"));
    fs::copy(PW_BUILD_DIR "/icons/hicolor", installed.Path("share/icons/hicolor"),
        fs::copy_options::recursive);
    // The system's folder stays in the list, as on a desktop: it holds the types of files.
    const TScopedVariable dataDirs(
        "XDG_DATA_DIRS", "/nowhere:" + installed.Path("share") + ":/usr/share");
    TFormWarden game({installed.Path("lib/games/pathwarden/"), [] {}, nullptr}, Random);
    game.Show();
    for (int32_t second = 0; second < 5 && game.IconSizes().empty(); ++second)
        ProcessMessagesUntil([&] { return !game.IconSizes().empty(); });
    game.Hide();
    EXPECT_EQ(game.IconSizes(), (std::vector<int32_t> {16, 22, 24, 32, 48, 64, 128, 256}));
}

TEST_F(FormWardenTest, MissingLibraryIsReportedAndMarksTheStartUpFailed)
{
    const TTempFolder empty;
    TMessageBoxRecorder boxes;
    std::string reason;
    try {
        TVX8Library().Open(empty.Path("Warden.vx8"), true);
    } catch (const KelException& e) {
        reason = e.what();
    }
    TFormWarden failed({empty.Root.string() + "/", nullptr, nullptr}, Random);
    EXPECT_TRUE(failed.StartupFailed);
    ASSERT_EQ(boxes.Requests.size(), 1u);
    EXPECT_EQ(boxes.Requests[0].Kind, TMessageBoxKind::Error);
    EXPECT_EQ(boxes.Requests[0].Text, "Pathwarden encountered a problem on start-up: " + reason);
}

TEST_F(FormWardenTest, ACorruptLibraryIsReportedOnceAlsoWhenTheWindowIsActivatedAfterwards)
{
    const TTempFolder folder;
    std::ifstream whole(PW_BUILD_DIR "/Warden.vx8", std::ios::binary);
    std::string head(3000, '\0');
    whole.read(head.data(), static_cast<std::streamsize>(head.size()));
    folder.Write("Warden.vx8", head);
    TMessageBoxRecorder boxes;
    TFormWarden failed({folder.Root.string() + "/", nullptr, nullptr}, Random);
    ASSERT_TRUE(failed.StartupFailed);
    RunGuarded([] {
        if (Application().OnActivate)
            Application().OnActivate();
    });
    RunGuarded([&failed] { failed.QueryNewPalette(); });
    ASSERT_EQ(boxes.Requests.size(), 1u);
    EXPECT_EQ(boxes.Requests[0].Text.find("GetHPal"), std::string::npos);
}

TEST_F(FormWardenTest, ButtonsKeysMouseAndTimerPlayThroughTheWindow)
{
    Click(Form->cmdColP);
    EXPECT_EQ(Form->Play->Game.Board.Cols(), 4);
    EXPECT_TRUE(Form->cmdColM.Enabled());
    Click(Form->cmdColM);
    Click(Form->cmdStart);
    EXPECT_TRUE(Form->tmrWarden.Enabled());
    EXPECT_EQ(Form->tmrWarden.Interval(), ScrambleInterval);
    EXPECT_TRUE(Form->cmdExit.Enabled() && !Form->cmdStart.Enabled());
    Form->MouseMove(0, 37 + 70, 104 + 40);
    EXPECT_EQ(Form->pbxBoard.Cursor(), crDefault) << "no hand during the scramble";
    Scramble();
    Form->MouseMove(0, 37 + 70, 104 + 40);
    EXPECT_EQ(Form->pbxBoard.Cursor(), 1);
    Form->MouseMove(0, 37 + 90, 104 + 40);
    EXPECT_EQ(Form->pbxBoard.Cursor(), crDefault);
    const TRoadBoard before = Form->Play->Game.Board.Current;
    Form->KeyDown('B', 0);
    Form->KeyPress('b');
    Form->KeyUp('B', 0);
    EXPECT_NE(Form->Play->Game.Board.Current, before);
    EXPECT_EQ(Form->tmrWarden.Interval(), MoveInterval);
    for (int32_t i = 0; i < 4; ++i)
        Form->tmrWarden.Tick();
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    Form->Update();
    TVX8ImageData& play = *Form->Images->PlayBoard;
    EXPECT_EQ(Form->BackingStore().Pixel(37 + 100, 104 + 70), Colour(PixelOf(play, 100, 70)));
    Click(Form->cmdExit);
    EXPECT_FALSE(Form->Play->Game.Playing());
    EXPECT_TRUE(Form->cmdStart.Enabled());
}

TEST_F(FormWardenTest, TitleOpensAboutOnLeftClickAndTheCaptionGivesANewPicture)
{
    Form->Update();
    Form->MouseDown(TMouseButton::Right, ssRight, 100, 50);
    EXPECT_EQ(AboutShown, 0);
    Form->MouseDown(TMouseButton::Left, ssLeft, 100, 50);
    EXPECT_EQ(AboutShown, 1);
    Form->MouseMove(0, 100, 50);
    EXPECT_EQ(Form->Cursor(), 1);
    const TRoadBoard before = Form->Play->Game.Board.Current;
    Form->MouseDown(TMouseButton::Left, ssLeft, 120, 340);
    EXPECT_NE(Form->Play->Game.Board.Current, before);
}

// Idle costs nothing: no timer runs and no source of the main loop fires.
TEST_F(FormWardenTest, IdleWindowRunsNoTimerAndNothingFiresForASecond)
{
    auto dispatchedWithin = [](std::chrono::milliseconds span) {
        int32_t dispatched = 0;
        for (const auto end = std::chrono::steady_clock::now() + span;
             std::chrono::steady_clock::now() < end; g_usleep(5000))
            while (g_main_context_iteration(nullptr, FALSE))
                ++dispatched;
        return dispatched;
    };
    Form->Show();
    // The window appears and paints, and the toolkit settles once a little later (later still
    // on a busy machine): wait for three quiet quarters of a second, for ten seconds at most.
    for (int32_t waited = 0; waited < 13; ++waited)
        if (dispatchedWithin(std::chrono::milliseconds(750)) == 0)
            break;
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    EXPECT_EQ(dispatchedWithin(std::chrono::seconds(1)), 0);
    Form->Hide();
}

// The main thread's state letter and its voluntary context switches: each wake-up from the
// main loop's wait adds one.
std::pair<char, int64_t> MainThreadSleeps(pid_t pid)
{
    std::ifstream status(
        "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/status");
    std::pair<char, int64_t> found {'?', -1};
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("State:") && line.size() > 7)
            found.first = line[line.find_first_not_of(" \t", 6)];
        if (line.starts_with("voluntary_ctxt_switches:"))
            found.second = std::stoll(line.substr(24));
    }
    return found;
}

// The game as `make run` starts it, with the about window made hidden behind the game window.
TEST_F(FormWardenTest, IdleWindowOfTheGameProcessWithItsAboutWindowMadeWakesNotInFiveSeconds)
{
    const TTempFolder folder;
    std::filesystem::create_directories(folder.Path("config/Larkfield/Pathwarden"));
    folder.Write("config/Larkfield/Pathwarden/Pathwarden.ini", "[Options]\nShowSplash=0\n");
    std::filesystem::create_directory(folder.Path("run"));
    std::filesystem::permissions(folder.Path("run"), std::filesystem::perms::owner_all);
    std::vector<std::string> variables {"XDG_CONFIG_HOME=" + folder.Path("config"),
        "XDG_RUNTIME_DIR=" + folder.Path("run"), "NO_AT_BRIDGE=1", "GDK_BACKEND=x11"};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        if (!text.starts_with("XDG_CONFIG_HOME=") && !text.starts_with("XDG_RUNTIME_DIR="))
            variables.emplace_back(text);
    }
    std::vector<char*> environment;
    for (std::string& variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);
    char program[] = PW_BUILD_DIR "/pathwarden";
    char* arguments[] = {program, nullptr};
    const pid_t game = fork();
    if (game == 0) {
        execve(program, arguments, environment.data());
        _exit(127);
    }
    ASSERT_GT(game, 0);
    struct TEnd {
        pid_t Pid;
        ~TEnd()
        {
            kill(Pid, SIGTERM);
            waitpid(Pid, nullptr, 0);
        }
    } end {game};

    // Started, the window shown and the about window made: the main thread has slept without a
    // wake-up for two seconds (a thread that waits for the processor is not asleep).
    using Clock = std::chrono::steady_clock;
    auto last = MainThreadSleeps(game);
    auto quietSince = Clock::now();
    for (const auto limit = Clock::now() + std::chrono::seconds(40);
         Clock::now() - quietSince < std::chrono::seconds(2) && Clock::now() < limit;) {
        g_usleep(100'000);
        const auto now = MainThreadSleeps(game);
        if (now.second != last.second || now.first != 'S')
            quietSince = Clock::now();
        last = now;
    }
    ASSERT_GE(last.second, 0) << "the game is not running";
    ASSERT_GE(Clock::now() - quietSince, std::chrono::seconds(2)) << "the game never settled";
    g_usleep(5'000'000);
    EXPECT_EQ(MainThreadSleeps(game).second - last.second, 0);
}

} // namespace
