#include "play/WardenStatistics.h"
#include "common/KelException.h"
#include "play/GameStatistics.h"
#include "play/PlayTestSupport.h"
#include "support/TempFolder.h"

namespace {

// The statistics of a play on the recording screen, with the preview box on a plain form.
class WardenStatisticsTest : public ::testing::Test {
protected:
    WardenStatisticsTest()
    {
        Random.FallBack(TestSeed());
        Play.SetSize(3, 3);
        Play.Stop();
        Play.Listen(Statistics);
    }
    // A game played to its end by the keys that solve it.
    void Win()
    {
        Play.Start();
        while (Screen.TimerOn)
            Play.TimerTick();
        for (const char key : SolvingKeys(Play.Game.Board)) {
            Play.KeyPress(static_cast<unsigned char>(key));
            Play.KeyUp();
            while (Screen.TimerOn)
                Play.TimerTick();
        }
    }

    TTempFolder Folder;
    std::string File = Folder.Write("Pathwarden.ini", "");
    std::function<std::string()> SettingsFile = [this] { return File; };
    TBlankPictures Pictures;
    TScriptedRandom Random;
    TRecordingScreen Screen {*Pictures.Images};
    TWardenPlay Play {Random, *Pictures.Images, nullptr, Screen};
    TWardenStatistics Statistics {Play,
        [] {
            return TRect {273, 104, 481, 312};
        },
        [this] { return SettingsFile(); }};
};

TEST_F(WardenStatisticsTest, AStartCountsAtOnceAndAWinWithItsMovesUnlessHelped)
{
    Play.Start();
    Play.Stop();
    EXPECT_EQ(ReadSizeStatistics(File, 3, 3), (TSizeStatistics {1, 0, 0}));
    Win();
    const int32_t moves = Play.Game.History().Moves();
    ASSERT_FALSE(Play.Game.Playing());
    EXPECT_EQ(ReadSizeStatistics(File, 3, 3), (TSizeStatistics {2, 1, moves}));
    Play.Coach().Assisted = true;
    Win();
    EXPECT_EQ(ReadSizeStatistics(File, 3, 3), (TSizeStatistics {3, 2, moves}));
}

TEST_F(WardenStatisticsTest, WithoutASettingsFolderNoneAreKeptAndTheTipStillShows)
{
    SettingsFile = []() -> std::string { throw KelException("no settings folder"); };

    Win();

    EXPECT_EQ(Statistics.PreviewTooltip(300, 200),
        "3 × 3: won 0 of 0 · this game: " + std::to_string(Play.Game.History().Moves()) + " moves");
    EXPECT_EQ(Statistics.PreviewTooltip(272, 200), "");
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), "");
}

} // namespace
