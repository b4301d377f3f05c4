#include "common/FileLookup.h"

#include "support/ScopedVariable.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(FileLookup, FindsTheShippedFileUnderEitherCaseAndPrefersAnExactMatch)
{
    const TTempFolder folder;
    const std::string dir = folder.Root.string() + "/";
    folder.Write("Warden.vx8", "");
    folder.Write("notes.TXT", "");
    folder.Write("NOTES.txt", "");
    folder.Write("Notes.txt", "");
    const struct {
        const char* Asked;
        const char* Found;
    } cases[] = {
        {"Warden.vx8", "Warden.vx8"},
        {"warden.vx8", "Warden.vx8"},
        {"WARDEN.VX8", "Warden.vx8"},
        {"Notes.txt", "Notes.txt"}, // exact match wins
        {"notes.txt", "NOTES.txt"}, // otherwise the name that sorts first
        {"warden.vx", "warden.vx"}, // no match: the path as asked
        {"wardén.vx8", "wardén.vx8"}, // only A to Z fold
        {"../Warden.vx8", "../Warden.vx8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindFileIgnoringCase(dir, c.Asked), dir + c.Found) << c.Asked;
}

TEST(FileLookup, MissingFolderGivesThePathAsAsked)
{
    EXPECT_EQ(FindFileIgnoringCase("/nonexistent-pw/", "warden.vx8"), "/nonexistent-pw/warden.vx8");
}

TEST(FileLookup, DesktopDataFoldersFollowTheDesktopsVariablesAndFallBackToTheDefault)
{
    struct TCase {
        const char* DataHome;
        const char* DataDirs;
        std::vector<std::string> Folders;
    };
    const std::vector<TCase> cases {
        {"/h", "/a:/b/", {"/h/", "/a/", "/b/"}},
        {nullptr, nullptr, {"/home/p/.local/share/", "/opt/pw/share/", "/usr/share/"}},
        {"", "", {"/home/p/.local/share/", "/opt/pw/share/", "/usr/share/"}},
        {"rel", "rel::other", {"/home/p/.local/share/", "/opt/pw/share/", "/usr/share/"}},
        {"/h", "::/a::rel:/b", {"/h/", "/a/", "/b/"}},
    };
    const TScopedVariable home("HOME", "/home/p");
    for (const TCase& c : cases) {
        const TScopedVariable dataHome("XDG_DATA_HOME", c.DataHome ? c.DataHome : "");
        const TScopedVariable dataDirs("XDG_DATA_DIRS", c.DataDirs ? c.DataDirs : "");
        if (!c.DataHome)
            unsetenv("XDG_DATA_HOME");
        if (!c.DataDirs)
            unsetenv("XDG_DATA_DIRS");
        EXPECT_EQ(DesktopDataFolders("/opt/pw/share:/usr/share"), c.Folders)
            << (c.DataDirs ? c.DataDirs : "unset");
    }
}
