#include "common/IniFile.h"
#include "common/KelStd.h"

#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class ReadIniStringTest : public ::testing::Test {
protected:
    std::string ReadFrom(
        const std::string& text, const std::string& section, const std::string& key)
    {
        return ReadIniString(section, key, "dflt", Folder.Write("Pathwarden.ini", text));
    }

    TTempFolder Folder;
};

TEST_F(ReadIniStringTest, MissingFileSectionOrKeyGivesDefault)
{
    EXPECT_EQ(ReadIniString("Options", "ShowSplash", "1", Folder.Path("none.ini")), "1");
    EXPECT_EQ(ReadIniString("Options", "ShowSplash", "1", Folder.Path("no/such/dir.ini")), "1");
    EXPECT_EQ(ReadFrom("[Other]\nShowSplash=0\n", "Options", "ShowSplash"), "dflt");
    EXPECT_EQ(ReadFrom("[Options]\nShowSplashX=0\n", "Options", "ShowSplash"), "dflt");
    EXPECT_EQ(ReadFrom("ShowSplash=0\n[Options]\n", "Options", "ShowSplash"), "dflt");
}

TEST_F(ReadIniStringTest, AnswerIsCutTo254Characters)
{
    const std::string long300(300, 'v');
    EXPECT_EQ(
        ReadFrom("[Options]\nKey=" + long300 + "\n", "Options", "Key"), long300.substr(0, 254));
    EXPECT_EQ(
        ReadIniString("Options", "Key", long300, Folder.Path("none.ini")), long300.substr(0, 254));
}

TEST_F(ReadIniStringTest, NamesIgnoreCaseAndBlanks)
{
    const std::string text = "  [ oPTIONS ]  \r\n\t showSPLASH \t=  0 \t\r\n";
    EXPECT_EQ(ReadFrom(text, "Options", "ShowSplash"), "0");
    EXPECT_EQ(ReadFrom(text, " options ", "SHOWSPLASH "), "0");
}

TEST_F(ReadIniStringTest, FirstMatchingSectionAndKeyCount)
{
    const std::string text
        = "[Options]\nA=first\na=second\n[Other]\nB=other\n[options]\nA=third\nB=x\n";
    EXPECT_EQ(ReadFrom(text, "Options", "A"), "first");
    EXPECT_EQ(ReadFrom(text, "Options", "B"), "dflt");
}

TEST_F(ReadIniStringTest, JunkAndBinaryLinesAreSkipped)
{
    const std::string text = std::string("\xEF\xBB\xBF; comment\n# Key=hash\n; Key=semicolon\n")
        + "garbage without equals\n\xFF\xFE\x80\x01\x1B[2J\n" + std::string("\0\0=\0\n", 5)
        + "[unclosed\nKey=before the section\n=no name\n[Options]\n\x7F\x02 junk\n"
        + "[broken\nKey=v=w\x01\n" + std::string("Nul=a\0b\n", 8);
    EXPECT_EQ(ReadFrom(text, "Options", "Key"), "v=w\x01");
    EXPECT_EQ(ReadFrom(text, "Options", "Nul"), "a");
    EXPECT_EQ(ReadFrom(text, "Options", "# Key"), "dflt");
}

TEST_F(ReadIniStringTest, VeryLongLinesAreRead)
{
    const std::string longJunk(1'500'000, 'j');
    const std::string longKey(100'000, 'k');
    const std::string text = longJunk + "\n[Options]\n" + longKey + "=long key\nKey=" + longJunk;
    EXPECT_EQ(ReadFrom(text, "Options", longKey), "long key");
    EXPECT_EQ(ReadFrom(text, "Options", "Key"), longJunk.substr(0, 254));
}

TEST_F(ReadIniStringTest, FolderInPlaceOfTheFileReadsAsMissing)
{
    std::filesystem::create_directory(Folder.Path("Pathwarden.ini"));
    EXPECT_EQ(ReadIniString("Options", "ShowSplash", "1", Folder.Path("Pathwarden.ini")), "1");
}

TEST_F(ReadIniStringTest, UnreadableFileReadsAsMissing)
{
    const std::string file = Folder.Write("Pathwarden.ini", "[Options]\nShowSplash=0\n");
    ASSERT_EQ(::chmod(file.c_str(), 0200), 0);
    RunUnprivileged(
        Folder.Root, [&] { EXPECT_EQ(ReadIniString("Options", "ShowSplash", "1", file), "1"); });
}

TEST_F(ReadIniStringTest, AFileOverFourMiBReadsAsMissing)
{
    const std::string head = "[Options]\nShowSplash=0\n;";
    const std::size_t limit = 4 * 1024 * 1024;
    EXPECT_EQ(ReadFrom(head + std::string(limit - head.size(), 'x'), "Options", "ShowSplash"), "0");
    EXPECT_EQ(ReadFrom(head + std::string(limit + 1 - head.size(), 'x'), "Options", "ShowSplash"),
        "dflt");
}

TEST_F(ReadIniStringTest, ATextReadOnceAnswersEveryQuery)
{
    const std::string file = Folder.Write("Pathwarden.ini", "[S]\na=1\nb=2\n");
    const std::size_t before = IniFileLoads();
    const TIniText text(file);
    EXPECT_EQ(text.Value("S", "a"), "1");
    EXPECT_EQ(text.Value("s", "B"), "2");
    EXPECT_EQ(text.Value("S", "c"), std::nullopt);
    EXPECT_EQ(IniFileLoads() - before, 1U);
}

TEST_F(ReadIniStringTest, EmptyValueIsEmptyNotDefault)
{
    EXPECT_EQ(ReadFrom("[Options]\nShowSplash=\n", "Options", "ShowSplash"), "");
    EXPECT_EQ(ReadFrom("[Options]\nShowSplash=   \r\n", "Options", "ShowSplash"), "");
}

TEST_F(ReadIniStringTest, MatchingQuotesAreRemoved)
{
    const std::string text = "[Q]\nd=\" two words \"\ns='single'\ne=\"\"\nlone=\"\nmixed=\"a'\n"
                             "inner=a \"b\" c\n";
    EXPECT_EQ(ReadFrom(text, "Q", "d"), " two words ");
    EXPECT_EQ(ReadFrom(text, "Q", "s"), "single");
    EXPECT_EQ(ReadFrom(text, "Q", "e"), "");
    EXPECT_EQ(ReadFrom(text, "Q", "lone"), "\"");
    EXPECT_EQ(ReadFrom(text, "Q", "mixed"), "\"a'");
    EXPECT_EQ(ReadFrom(text, "Q", "inner"), "a \"b\" c");
}

} // namespace
