#include "common/IniFile.h"
#include "common/KelStd.h"

#include "common/KelFileHandle.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class WriteIniStringTest : public ::testing::Test {
protected:
    // The text after writing into a file that held the given text.
    std::string WriteInto(const std::string& text, const std::string& section,
        const std::string& key, const std::string& value)
    {
        EXPECT_TRUE(WriteIniString(section, key, value, Folder.Write("Pathwarden.ini", text)));
        return Folder.Read("Pathwarden.ini");
    }

    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder.Root))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TTempFolder Folder;
};

const std::string Mixed = "; settings\r\n[Other]\r\nShowSplash=7\r\n\r\n[OPTIONS]\r\n"
                          "junk line \x01\xFF\r\n# note\r\nshowsplash = 1 \r\nShowSplash=2\r\n";

TEST_F(WriteIniStringTest, ReplacesFirstMatchingValueInPlace)
{
    std::string expected = Mixed;
    expected.replace(expected.find("= 1 ") + 2, 1, "0");
    EXPECT_EQ(WriteInto(Mixed, "Options", "ShowSplash", "0"), expected);
    EXPECT_EQ(WriteInto("[Options]\nShowSplash=\nX=1\n", "Options", "ShowSplash", "0"),
        "[Options]\nShowSplash=0\nX=1\n");
}

TEST_F(WriteIniStringTest, AppendsKeyAtEndOfSectionBeforeBlankLines)
{
    EXPECT_EQ(WriteInto(Mixed, "Other", "Size", "5"),
        "; settings\r\n[Other]\r\nShowSplash=7\r\nSize=5\r\n\r\n[OPTIONS]\r\n"
        "junk line \x01\xFF\r\n# note\r\nshowsplash = 1 \r\nShowSplash=2\r\n");
    EXPECT_EQ(WriteInto("[Options]\nA=1", "Options", "B", "2"), "[Options]\nA=1\nB=2");
}

TEST_F(WriteIniStringTest, AppendsMissingSectionAtEndOfFile)
{
    EXPECT_EQ(WriteInto(Mixed, "New", "Key", "v"), Mixed + "[New]\r\nKey=v\r\n");
    EXPECT_EQ(WriteInto("; last line", " Options ", " ShowSplash ", "1"),
        "; last line\n[Options]\nShowSplash=1\n");
}

TEST_F(WriteIniStringTest, CreatesMissingFoldersAndFile)
{
    const std::string file = Folder.Path("Larkfield/Pathwarden/Pathwarden.ini");
    EXPECT_TRUE(WriteIniString("Options", "ShowSplash", "0", file));
    EXPECT_EQ(Folder.Read("Larkfield/Pathwarden/Pathwarden.ini"), "[Options]\nShowSplash=0\n");
}

TEST_F(WriteIniStringTest, WriteThenReadGivesTheValueBack)
{
    const std::string file = Folder.Path("Pathwarden.ini");
    for (const std::string value :
        {"0", "", " padded ", "\"quoted\"", "'", "a=b;c#d", "\xC4\xFF"}) {
        EXPECT_TRUE(WriteIniString("Options", "Value", value, file));
        EXPECT_EQ(ReadIniString("Options", "Value", "dflt", file), value) << value;
    }
}

TEST_F(WriteIniStringTest, RefusesTextsThatWouldBreakTheFormat)
{
    const std::string file = Folder.Write("Pathwarden.ini", Mixed);
    EXPECT_FALSE(WriteIniString("Options", "ShowSplash", "1\n[Evil]", file));
    EXPECT_FALSE(WriteIniString("Options", "ShowSplash", "1\r", file));
    EXPECT_FALSE(WriteIniString("Options", "ShowSplash", std::string("1\0", 2), file));
    EXPECT_FALSE(WriteIniString("Opt]ions", "ShowSplash", "1", file));
    EXPECT_FALSE(WriteIniString("Options", "Show=Splash", "1", file));
    EXPECT_FALSE(WriteIniString("Options", ";ShowSplash", "1", file));
    EXPECT_FALSE(WriteIniString("Options", "[ShowSplash", "1", file));
    EXPECT_FALSE(WriteIniString("Options", "  ", "1", file));
    EXPECT_FALSE(WriteIniString("", "ShowSplash", "1", file));
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), Mixed);
}

TEST_F(WriteIniStringTest, ReplacesAtomicallyKeepingModeAndNoTemporaryFile)
{
    const std::string file = Folder.Write("Pathwarden.ini", "[Options]\nShowSplash=1\n");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    EXPECT_TRUE(WriteIniString("Options", "ShowSplash", "0", file));
    EXPECT_EQ(FolderEntries(), std::vector<std::string> {"Pathwarden.ini"});
    EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(0640));
}

TEST_F(WriteIniStringTest, FailedWriteKeepsOriginalAndRemovesTemporary)
{
    // A file size limit makes the write itself fail, even for root.
    const std::string file = Folder.Write("Pathwarden.ini", Mixed);
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool written = WriteIniString("Options", "ShowSplash", std::string(10000, 'x'), file);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), Mixed);
    EXPECT_EQ(FolderEntries(), std::vector<std::string> {"Pathwarden.ini"});
}

TEST_F(WriteIniStringTest, ReadOnlyFolderOrFileKeepsOriginal)
{
    const std::string file = Folder.Write("Pathwarden.ini", Mixed);
    RunUnprivileged(Folder.Root, [&] {
        ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
        EXPECT_FALSE(WriteIniString("Options", "ShowSplash", "0", file));
        ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
        ASSERT_EQ(::chmod(Folder.Root.c_str(), 0555), 0);
        EXPECT_FALSE(WriteIniString("Options", "ShowSplash", "0", file));
        ASSERT_EQ(::chmod(Folder.Root.c_str(), 0755), 0);
    });
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), Mixed);
    EXPECT_EQ(FolderEntries(), std::vector<std::string> {"Pathwarden.ini"});
}

TEST_F(WriteIniStringTest, AFileThatAlreadyHoldsTheValueIsLeftUntouched)
{
    const std::string file = Folder.Write("Pathwarden.ini", Mixed);
    struct stat before { };
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    const timespec old[2] = {{1'000'000, 0}, {1'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), old, 0), 0);

    EXPECT_TRUE(WriteIniString("options", "ShowSplash", "1", file));
    EXPECT_TRUE(WriteIniEntries("Other", {{"showsplash", "7"}}, file));
    struct stat after { };
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_sec, 1'000'000);
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), Mixed);
}

TEST_F(WriteIniStringTest, AFileOverFourMiBIsNeverReplaced)
{
    const std::string big = "[Options]\nShowSplash=1\n;" + std::string(4 * 1024 * 1024, 'x');
    const std::string file = Folder.Write("Pathwarden.ini", big);
    EXPECT_FALSE(WriteIniString("Options", "ShowSplash", "0", file));
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), big);
}

TEST_F(WriteIniStringTest, AWriteThatWouldCrossFourMiBFailsAndKeepsTheFile)
{
    const std::string head = "[Options]\nShowSplash=0\n[Statistics]\nBest4x4=9\n;";
    const std::string full = head + std::string(4 * 1024 * 1024 - head.size(), 'x');
    const std::string file = Folder.Write("Pathwarden.ini", full);
    EXPECT_FALSE(WriteIniString("Options", "Zoom", "2", file));
    EXPECT_FALSE(WriteIniString("Statistics", "Best4x4", "10", file));
    EXPECT_EQ(Folder.Read("Pathwarden.ini"), full);
    EXPECT_TRUE(WriteIniString("Statistics", "Best4x4", "8", file)) << "same size still fits";
    EXPECT_EQ(ReadIniValue("Options", "ShowSplash", file), "0");
    EXPECT_EQ(FolderEntries(), std::vector<std::string> {"Pathwarden.ini"});
}

TEST_F(WriteIniStringTest, FolderOrFileInTheWayFails)
{
    fs::create_directory(Folder.Path("Pathwarden.ini"));
    EXPECT_FALSE(WriteIniString("Options", "ShowSplash", "0", Folder.Path("Pathwarden.ini")));
    EXPECT_TRUE(fs::is_directory(Folder.Path("Pathwarden.ini")));
    Folder.Write("plain", "data");
    EXPECT_FALSE(WriteIniString("Options", "ShowSplash", "0", Folder.Path("plain/sub/x.ini")));
    EXPECT_EQ(Folder.Read("plain"), "data");
}

TEST_F(WriteIniStringTest, SymbolicLinksStayLinksAlsoWhenTheirTargetIsMissing)
{
    const std::string target = Folder.Write("real.ini", "[Options]\nShowSplash=1\n");
    fs::create_symlink("real.ini", Folder.Path("Pathwarden.ini"));
    fs::create_symlink("missing/new.ini", Folder.Path("dangling.ini"));
    EXPECT_TRUE(WriteIniString("Options", "ShowSplash", "0", Folder.Path("Pathwarden.ini")));
    EXPECT_TRUE(WriteIniString("Options", "ShowSplash", "0", Folder.Path("dangling.ini")));
    EXPECT_TRUE(fs::is_symlink(Folder.Path("Pathwarden.ini")));
    EXPECT_TRUE(fs::is_symlink(Folder.Path("dangling.ini")));
    EXPECT_EQ(Folder.Read("real.ini"), "[Options]\nShowSplash=0\n");
    EXPECT_EQ(Folder.Read("missing/new.ini"), "[Options]\nShowSplash=0\n");
}

TEST_F(WriteIniStringTest, TemporariesLeftByADeadWriterGoAndALiveWritersStay)
{
    const std::string file = Folder.Write("Pathwarden.ini", Mixed);
    Folder.Write("Pathwarden.ini.tmp-Dead01", "left by a crash");
    const std::string live = Folder.Write("Pathwarden.ini.tmp-Live01", "being written");
    TFileHandle held(::open(live.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(::flock(held.Get(), LOCK_EX), 0);
    EXPECT_TRUE(WriteIniString("Options", "ShowSplash", "0", file));
    auto entries = FolderEntries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string> {"Pathwarden.ini", "Pathwarden.ini.tmp-Live01"}));
}

} // namespace
