#include "common/FileLookup.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

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
