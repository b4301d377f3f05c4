#include "play/SizeMemory.h"
#include "common/KelException.h"
#include "play/PlayTestSupport.h"
#include "support/TempFolder.h"

namespace {

TEST(SizeMemoryTest, ReadsOnlyWholeSizesFromThreeToFiveElseThree)
{
    const struct {
        const char* Text;
        TBoardSize Size;
    } cases[] = {
        {"", {3, 3}},
        {"[Options]\nCols=5\nRows=4\n", {5, 4}},
        {"[Options]\nCols=4\n", {4, 3}},
        {"[Options]\nCols=2\nRows=6\n", {3, 3}},
        {"[Options]\nCols=-4\nRows=4x\n", {3, 3}},
        {"[Options]\nCols=04\nRows= 5 \n", {3, 5}},
        {"[Options]\nCols=\nRows=four\n", {3, 3}},
        {"[Statistics]\nCols=5\nRows=5\n", {3, 3}},
    };
    const TTempFolder folder;
    for (const auto& c : cases)
        EXPECT_EQ(ReadBoardSize(folder.Write("Pathwarden.ini", c.Text)), c.Size) << c.Text;
    EXPECT_EQ(ReadBoardSize(folder.Path("missing.ini")), (TBoardSize {3, 3}));
}

// A play on the recording screen that keeps its size in a settings file.
class SizeMemoryPlayTest : public ::testing::Test {
protected:
    SizeMemoryPlayTest()
    {
        Random.FallBack(TestSeed());
        Play.SetSize(3, 3);
        Play.Stop();
    }

    TTempFolder Folder;
    std::string File = Folder.Write("Pathwarden.ini", "[Options]\nZoom=2\n");
    TBlankPictures Pictures;
    TScriptedRandom Random;
    TRecordingScreen Screen {*Pictures.Images};
    TWardenPlay Play {Random, *Pictures.Images, nullptr, Screen};
    TSizeMemory Memory {[this] { return File; }};
};

TEST_F(SizeMemoryPlayTest, EverySizeChosenIsKeptBesideTheOtherSettings)
{
    Play.Listen(Memory);

    Play.ColRow(3);
    Play.ColRow(3);
    Play.ColRow(2);

    EXPECT_EQ(ReadBoardSize(File), (TBoardSize {5, 3}));
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), "[Options]\nZoom=2\nCols=5\nRows=3\n");
}

TEST_F(SizeMemoryPlayTest, RestoreStepsTheIdleBoardToTheKeptSizeAndDealsItsPicture)
{
    File = Folder.Write("Pathwarden.ini", "[Options]\nCols=4\nRows=5\n");

    Memory.Restore(Play);

    EXPECT_EQ(Play.Game.Board.Cols(), 4);
    EXPECT_EQ(Play.Game.Board.Rows(), 5);
    EXPECT_FALSE(Play.Game.Playing());
    EXPECT_TRUE(Play.Game.Board.IsSolved());
}

TEST_F(SizeMemoryPlayTest, WithoutASettingsFolderTheSizeStaysAndNothingIsWritten)
{
    TSizeMemory memory {[]() -> std::string { throw KelException("no settings folder"); }};
    Play.Listen(memory);

    memory.Restore(Play);
    Play.ColRow(4);

    EXPECT_EQ(Play.Game.Board.Rows(), 4);
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), "[Options]\nZoom=2\n");
}

} // namespace
