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
        Play.Clock = [this] { return Now; };
    }
    // A game played to its end by the keys that solve it, taking seconds after its scramble.
    void Win(int64_t seconds = 0)
    {
        Play.Start();
        while (Screen.TimerOn)
            Play.TimerTick();
        Now += seconds * 1000 + 999;
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
    int64_t Now = 0;
    std::vector<std::string> Announced;
    TWardenStatistics Statistics {Play,
        [] {
            return TRect {273, 104, 481, 312};
        },
        [this] { return SettingsFile(); },
        [this](const std::string& text) { Announced.push_back(text); }};
};

TEST_F(WardenStatisticsTest, AStartCountsAtOnceAndAWinWithItsMovesAndTimeUnlessHelped)
{
    Play.Start();
    Play.Stop();
    EXPECT_EQ(ReadSizeStatistics(File, 3, 3), (TSizeStatistics {1, 0, 0, 0}));
    const struct {
        int32_t Seconds;
        bool Helped;
        int32_t BestTime;
        bool TimeRecord;
    } wins[] = {{90, false, 90, true}, {120, false, 90, false}, {30, true, 90, false},
        {45, false, 45, true}};
    int32_t won = 0, best = 0;
    for (const auto& w : wins) {
        Play.Coach().Assisted = w.Helped;
        Win(w.Seconds);
        ASSERT_TRUE(Play.Game.Won());
        const int32_t moves = Play.Game.History().Moves();
        const bool fewer = !w.Helped && (best == 0 || moves < best);
        best = fewer ? moves : best;
        ++won;
        const TSizeStatistics now {won + 1, won, best, w.BestTime};
        EXPECT_EQ(ReadSizeStatistics(File, 3, 3), now) << w.Seconds;
        const std::string record = RecordText({fewer, w.TimeRecord});
        EXPECT_EQ(Statistics.PreviewTooltip(300, 200),
            StatisticsText(now, 3, 3, TGameResult {moves, w.Seconds, w.Helped})
                + (record.empty() ? "" : " · " + record))
            << w.Seconds;
        EXPECT_EQ(Announced.back(),
            WinWords({moves, w.Seconds, w.Helped}, std::nullopt, {fewer, w.TimeRecord}));
    }
}

TEST(WardenStatisticsWordsTest, TheWinAndTheTipSayMovesTimeParAndRecords)
{
    const struct {
        TGameResult Game;
        std::optional<TPar> Par;
        TWinRecords Records;
        const char* Words;
    } cases[] = {
        {{1, 1, false}, std::nullopt, {}, "Well done! Solved in 1 move in 1 second."},
        {{9, 125, false}, TPar {8, true}, {true, true},
            "Well done! Solved in 9 moves in 2 minutes 5 seconds, par 8. A new record: fewest "
            "moves and best time."},
        {{12, 60, true}, TPar {7, false}, {},
            "Well done! Solved in 12 moves in 1 minute 0 "
            "seconds, a way back in 7 moves."},
        {{5, 0, false}, std::nullopt, {false, true},
            "Well done! Solved in 5 moves in 0 seconds. A new record: best time."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WinWords(c.Game, c.Par, c.Records), c.Words);
    EXPECT_EQ(StatisticsText({4, 2, 11, 601}, 4, 3, std::nullopt),
        "4 × 3: won 2 of 4, best 11 moves, best time 10:01");
    EXPECT_EQ(RecordsOf({4, 2, 11, 60}, {11, 59, false}), (TWinRecords {false, true}));
    EXPECT_EQ(RecordsOf({4, 2, 11, 60}, {10, 0, false}), (TWinRecords {true, false}));
}

TEST_F(WardenStatisticsTest, WithoutASettingsFolderNoneAreKeptAndTheTipStillShows)
{
    SettingsFile = []() -> std::string { throw KelException("no settings folder"); };

    Win();

    EXPECT_EQ(Statistics.PreviewTooltip(300, 200),
        "3 × 3: won 0 of 0 · this game: " + std::to_string(Play.Game.History().Moves())
            + " moves in 0:00");
    EXPECT_EQ(Statistics.PreviewTooltip(272, 200), "");
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), "");
}

} // namespace
