#include "TestPng.h"
#include "ToolTestSupport.h"

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

uint32_t Crc32(const std::vector<uint8_t>& bytes, size_t from)
{
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        png.push_back(static_cast<uint8_t>(data.size() >> shift));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    const uint32_t crc = Crc32(png, start);
    for (int shift = 24; shift >= 0; shift -= 8)
        png.push_back(static_cast<uint8_t>(crc >> shift));
}

// A PNG of an 8-bit indexed picture that claims the size but holds no pixels.
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> png {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            header.push_back(static_cast<uint8_t>(v >> shift));
    header.insert(header.end(), {8, 3, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "PLTE", {0, 0, 0});
    PutChunk(png, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace

TEST_F(ToolTest, PackOfAPngClaimingMoreThanALibraryHolds_IsRefusedFromItsHeader)
{
    const std::vector<uint8_t> bytes = PngClaiming(65280, 65535);
    std::ofstream(Path("huge.png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));

    TToolRun run = Run({"pack", Path("out.vx8"), Path("huge.png")});

    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.LastErrLine(),
        "vx8: pack: \"" + Path("huge.png")
            + "\" is 65280 x 65535 pixels, too large for a library image (at most 65,280 pixels "
              "a row, and all rows in 255 segments of 65,280 bytes)");
}

TEST_F(ToolTest, SheetTooLarge_IsRefusedFromTheRecordHeadersBeforeAnyDecoding)
{
    if (!PW_GUI)
        GTEST_SKIP() << "built without the toolkit: no sheet";
    // Decoding this record would fail with a message of its own: the first row's line code is
    // not a valid one.
    TVX8EncodedRecord record = EncodeImageRecord(Picture("wide", 20000, 1, 1), TVX8Coding::Lines);
    record.Bytes[18 + 4 + 3] = 7;
    const std::vector<uint8_t> bytes = AssembleLibrary(RampPalette(), {record});
    WriteLibraryBytes(Path("wide.vx8"), bytes);
    ASSERT_NE(
        Run({"check", Path("wide.vx8")}).Out.find("Decode: invalid line code"), std::string::npos);

    TToolRun run = Run({"sheet", Path("wide.vx8"), Path("sheet.png")});

    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.LastErrLine().rfind("vx8: sheet: the sheet would be 40032 x ", 0), 0u) << run.Err;
    EXPECT_FALSE(fs::exists(Path("sheet.png")));
}

TEST_F(ToolTest, WritesThatFail_KeepTheOldOutputAndLeaveNoTemporary)
{
    std::string library = WriteLibrary("big.vx8", {Picture("big", 300, 300, 7)});
    Folder.Write("old.png", "the previous picture");
    Folder.Write("old.vx8", "the previous library");
    // A file size limit of 512 bytes makes every larger write fail.
    const std::string limit = "trap '' XFSZ; ulimit -f 1; ";

    TToolRun exported = Run({"export", library, "big", Path("old.png")}, limit);
    TToolRun packed
        = Run({"pack", Path("old.vx8"), "full-pal=" + DataFile("full-palette.png")}, limit);

    EXPECT_EQ(exported.Status, 1);
    EXPECT_EQ(
        exported.LastErrLine(), "vx8: cannot write \"" + Path("old.png") + "\": File too large");
    EXPECT_EQ(Folder.Read("old.png"), "the previous picture");
    EXPECT_EQ(packed.Status, 1);
    EXPECT_EQ(Folder.Read("old.vx8"), "the previous library");
    for (const auto& entry : fs::directory_iterator(Folder.Root))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
}

TEST_F(ToolTest, PackBesideAPlantedLink_LeavesTheLinksTargetAlone)
{
    const std::string victim = Folder.Write("victim", "keep me");
    fs::create_symlink(victim, Path("out.vx8.part"));

    TToolRun run = Run({"pack", Path("out.vx8"), "full-pal=" + DataFile("full-palette.png")});

    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(Folder.Read("victim"), "keep me");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Path("out.vx8"))));
}

TEST_F(ToolTest, ALibraryThatIsNoRegularFile_IsRefusedWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(Path("fifo.vx8").c_str(), 0600), 0);

    for (const std::string& file : {Path("fifo.vx8"), std::string("/dev/null")}) {
        TToolRun run = Run({"list", file}, "timeout 20 ");

        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.LastErrLine(), "vx8: Cannot open file \"" + file + "\": not a regular file");
    }
}

TEST_F(ToolTest, UnpackOverALink_GivesTheDefaultModeWhileAFileKeepsItsOwn)
{
    const std::string library = WriteLibrary("lib.vx8", {Picture("tile", 3, 2, 1)});
    const std::string target = Folder.Write("passwd", "not a picture");
    ASSERT_EQ(::chmod(target.c_str(), 04755), 0);
    fs::create_directory(Path("un"));
    fs::create_symlink(target, Path("un/tile.png"));
    const std::string list = Folder.Write("un/pack.list", "old list");
    ASSERT_EQ(::chmod(list.c_str(), 0604), 0);

    TToolRun run = Run({"unpack", library, Path("un")}, "umask 027; ");

    ASSERT_EQ(run.Status, 0) << run.Err;
    struct stat picture { };
    struct stat listed { };
    ASSERT_EQ(::lstat(Path("un/tile.png").c_str(), &picture), 0);
    ASSERT_EQ(::lstat(list.c_str(), &listed), 0);
    EXPECT_TRUE(S_ISREG(picture.st_mode));
    EXPECT_EQ(picture.st_mode & 07777, 0640u);
    EXPECT_EQ(listed.st_mode & 07777, 0604u);
    EXPECT_EQ(Folder.Read("passwd"), "not a picture");
}

TEST_F(ToolTest, PaletteFromAPngClaimingAHugeSize_IsReadFromItsChunksAlone)
{
    const std::vector<uint8_t> bytes = PngClaiming(1000000, 1000000);
    std::ofstream(Path("palette.png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    TTestPng grey {.ColourType = PNG_COLOR_TYPE_GRAY, .Width = 2, .Samples = {10, 200}};
    ASSERT_TRUE(WriteTestPng(Path("grey.png"), grey));

    TToolRun run
        = Run({"pack", "--palette", Path("palette.png"), Path("out.vx8"), Path("grey.png")},
            "ulimit -t 20; ");

    EXPECT_EQ(run.Status, 0) << run.Err;
}

TEST_F(ToolTest, IndexedPngWithAPixelPastItsPalette_IsRefusedNamingTheIndex)
{
    TTestPng png {.Width = 4, .Height = 2, .Samples = {0, 1, 1, 0, 1, 5, 7, 0}};
    png.Palette = {{0, 0, 0}, {255, 255, 255}};
    ASSERT_TRUE(WriteTestPng(Path("past.png"), png));

    TToolRun run = Run({"pack", Path("out.vx8"), Path("past.png")});

    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.LastErrLine(),
        "vx8: pack: \"" + Path("past.png")
            + "\" has palette index 5 at x 1, y 1, past the end of its palette of 2 colours");
    EXPECT_FALSE(fs::exists(Path("out.vx8")));
}
