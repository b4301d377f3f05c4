#include "solver/TableFile.h"

#include "common/KelException.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

// Two small sections stand for the solver's: the checks are the same for any.
const std::vector<TTableSection>& Sections()
{
    static const std::vector<TTableSection> sections {{"first", 5, {}}, {"second", 70, {}}};
    return sections;
}

std::string GoodBytes()
{
    return TableFileBytes(Sections(), {{1, 2, 3, 4, 5}, std::vector<uint8_t>(70, 9)});
}

// The message of the failure of action, or "" when it does not fail.
std::string Failure(const std::function<void()>& action)
{
    try {
        action();
    } catch (const KelException& e) {
        return e.what();
    }
    return "";
}

TEST(TableFile, AWrittenFileGivesItsSectionsBack)
{
    const TTempFolder folder;
    const TTableFile file(folder.Write("t", GoodBytes()), Sections());

    const std::span<const uint8_t> first = file.Section("first");
    const std::span<const uint8_t> second = file.Section("second");

    EXPECT_EQ(
        std::vector<uint8_t>(first.begin(), first.end()), (std::vector<uint8_t> {1, 2, 3, 4, 5}));
    EXPECT_EQ(std::vector<uint8_t>(second.begin(), second.end()), std::vector<uint8_t>(70, 9));
    EXPECT_EQ(GoodBytes(), GoodBytes());
}

TEST(TableFile, BrokenFilesAreRefusedWithWhatIsWrong)
{
    const TTempFolder folder;
    const std::string good = GoodBytes();
    const auto changed = [&](std::size_t at) {
        std::string bytes = good;
        bytes[at] = static_cast<char>(bytes[at] ^ 1);
        return bytes;
    };
    const std::string size = std::to_string(good.size());
    const std::string linked = folder.Path("zero");
    std::filesystem::create_symlink("/dev/zero", linked);
    const std::string huge = folder.Write("huge", "");
    std::filesystem::resize_file(huge, 1ull << 33);
    struct TCase {
        std::string Path;
        std::string Why;
    };
    const std::vector<TCase> cases {
        {folder.Write("cut", good.substr(0, good.size() - 1)),
            "size " + std::to_string(good.size() - 1) + ", not " + size},
        {folder.Write("empty", ""), "size 0, not " + size},
        {huge, "size 8589934592, not " + size},
        {linked, "not a regular file"},
        {folder.Path("missing"), "No such file or directory"},
        {folder.Write("magic", changed(0)), "not a table file"},
        {folder.Write("version", changed(8)), "version 0, not 1"},
        {folder.Write("count", changed(12)), "the header's checksum does not agree"},
        {folder.Write("entry", changed(30)), "the header's checksum does not agree"},
    };
    for (const TCase& test : cases)
        EXPECT_EQ(Failure([&] { TTableFile(test.Path, Sections()); }),
            "Solver tables \"" + test.Path + "\": " + test.Why);

    // Another program's tables: a section more.
    std::vector<TTableSection> more = Sections();
    more.push_back({"third", 1, {}});
    const std::string other = folder.Write(
        "other", TableFileBytes(more, {{1, 2, 3, 4, 5}, std::vector<uint8_t>(70, 9), {7}}));
    EXPECT_EQ(Failure([&] { TTableFile(other, Sections()); }),
        "Solver tables \"" + other + "\": size 321, not 262");
    const std::string renamed = folder.Write("renamed", good);
    std::vector<TTableSection> otherName = Sections();
    otherName[0].Name = "firsT";
    EXPECT_EQ(Failure([&] { TTableFile(renamed, otherName); }),
        "Solver tables \"" + renamed + "\": other tables");
}

TEST(TableFile, ASectionWithAChangedByteIsRefusedWhenAskedFor)
{
    const TTempFolder folder;
    std::string bytes = GoodBytes();
    bytes[bytes.size() - 1] = 8;
    const std::string path = folder.Write("t", bytes);
    const TTableFile file(path, Sections());

    EXPECT_EQ(file.Section("first").size(), 5u);
    EXPECT_EQ(Failure([&] { file.Section("second"); }),
        "Solver tables \"" + path + "\": the checksum of the second table does not agree");
}

TEST(TableFile, AFileCutAfterItOpenedIsRefusedWhenASectionIsAskedFor)
{
    // A section over several pages, cut as a rebuild that writes the file in place cuts it.
    const TTempFolder folder;
    const std::vector<TTableSection> sections {{"first", 5, {}}, {"large", 3 * 4096, {}}};
    const std::string path = folder.Write(
        "t", TableFileBytes(sections, {{1, 2, 3, 4, 5}, std::vector<uint8_t>(3 * 4096, 9)}));
    const TTableFile file(path, sections);
    std::filesystem::resize_file(path, 4096);

    EXPECT_EQ(file.Section("first").size(), 5u);
    EXPECT_EQ(Failure([&] { file.Section("large"); }),
        "Solver tables \"" + path + "\": the large table is cut short");
}

} // namespace

namespace {

TEST(TableFile, TheBuiltFileChecksAndHoldsTheTablesTheSolverBuilds)
{
    const TTableFile file(PW_TABLE_FILE, TableSections());

    for (const TTableSection& section : TableSections()) {
        const std::span<const uint8_t> bytes = file.Section(section.Name);
        EXPECT_EQ(bytes.size(), section.Size) << section.Name;
        // The smallest build at once; the others take a second each.
        if (section.Size < 20'000) {
            EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), section.Build())
                << section.Name;
        }
    }
}

} // namespace
