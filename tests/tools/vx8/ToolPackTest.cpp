#include "ToolTestSupport.h"

#include <sstream>

TEST_F(ToolTest, ExportedPngs_PackAgainToTheSamePixelsAndTransparency)
{
    TVX8SourceImage clear = Picture("clear", 31, 7, 3);
    clear.Transparent = true;
    clear.TransparentIndex = clear.Pixels[5];
    std::vector<TVX8SourceImage> images = {clear, Picture("multi", 640, 480, 5)};
    std::string library = WriteLibrary("first.vx8", images);
    for (const TVX8SourceImage& image : images) {
        ASSERT_EQ(Run({"export", library, image.Name, Path(image.Name + ".png")}).Status, 0);
    }

    TToolRun pack = Run({"pack", Path("again.vx8"), Path("clear.png"), Path("multi.png")});

    ASSERT_EQ(pack.Status, 0) << pack.Err;
    EXPECT_EQ(pack.Out, "");
    EXPECT_EQ(Run({"list", Path("again.vx8")}).Out, Run({"list", library}).Out);
    for (const TVX8SourceImage& image : images) {
        ASSERT_EQ(Run({"export", Path("again.vx8"), image.Name, Path("again.raw")}).Status, 0);
        EXPECT_EQ(FileBytes(Path("again.raw")), image.Pixels) << image.Name;
    }
    std::vector<uint8_t> before = FileBytes(library);
    std::vector<uint8_t> after = FileBytes(Path("again.vx8"));
    for (size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(LibraryColour(after, i), LibraryColour(before, i)) << "entry " << i;
    }
}

TEST_F(ToolTest, PackOfTruecolourWithoutPaletteOrOfNoPng_NamesTheFile)
{
    const std::pair<const char*, const char*> cases[] = {
        {"rgb.png",
            "\" is RGB, 8 bits per sample; a library holds indexed pictures of one palette, so "
            "give the palette to map it onto with --palette LIBRARY.vx8 (or an indexed PNG)"},
        {"not-a-png.png", "\" is not a readable PNG: Not a PNG file"},
    };

    for (auto [file, message] : cases) {
        TToolRun run = Run({"pack", Path("out.vx8"), "x=" + DataFile(file)});

        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.LastErrLine(), "vx8: pack: \"" + DataFile(file) + message);
        EXPECT_FALSE(std::filesystem::exists(Path("out.vx8")));
    }
}

TEST_F(ToolTest, PackOfPngsWithDifferentPalettes_NamesBothFiles)
{
    WriteLibrary("a.vx8", {Picture("a", 4, 4, 1)}, RampPalette(0));
    WriteLibrary("b.vx8", {Picture("b", 4, 4, 1)}, RampPalette(1));
    Run({"export", Path("a.vx8"), "a", Path("a.png")});
    Run({"export", Path("b.vx8"), "b", Path("b.png")});

    TToolRun run = Run({"pack", Path("out.vx8"), Path("a.png"), Path("b.png")});

    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.LastErrLine(),
        "vx8: pack: \"" + Path("b.png") + "\" has a different palette from \"" + Path("a.png")
            + "\": entry 0 is #00FF01, not #00FF00");
}

TEST_F(ToolTest, PackOfAShorterPalette_PadsWithBlackAndMatchesALongerOneItBegins)
{
    TToolRun alone = Run({"pack", Path("short.vx8"), "short-pa=" + DataFile("short-palette.png")});
    TToolRun both = Run({"pack", Path("both.vx8"), "short-pa=" + DataFile("short-palette.png"),
        "full-pal=" + DataFile("full-palette.png")});

    ASSERT_EQ(alone.Status, 0) << alone.Err;
    ASSERT_EQ(both.Status, 0) << both.Err;
    std::vector<uint8_t> shortFile = FileBytes(Path("short.vx8"));
    std::vector<uint8_t> bothFile = FileBytes(Path("both.vx8"));
    // The test pictures' palette: entry i is (i, 255 - i, 3i).
    EXPECT_EQ(LibraryColour(shortFile, 15), (std::array<uint8_t, 3> {15, 240, 45}));
    EXPECT_EQ(LibraryColour(shortFile, 16), (std::array<uint8_t, 3> {0, 0, 0}));
    EXPECT_EQ(LibraryColour(bothFile, 200), (std::array<uint8_t, 3> {200, 55, 88}));
    EXPECT_EQ(WithoutState(Run({"list", Path("both.vx8")}).Out),
        "short-pa     4     2   1 ? -\n"
        "full-pal     2     2   1 ? -\n");
}

TEST_F(ToolTest, PackTransparency_TakesTheFullyTransparentEntryTheImageUses)
{
    TToolRun used = Run({"pack", Path("used.vx8"), "clear-us=" + DataFile("clear-used.png")});
    TToolRun unused = Run({"pack", Path("unused.vx8"), "clear-un=" + DataFile("clear-unused.png")});
    TToolRun two = Run({"pack", Path("two.vx8"), "two-clea=" + DataFile("two-clear.png")});
    TToolRun partial
        = Run({"pack", Path("partial.vx8"), "partial-=" + DataFile("partial-alpha.png")});

    EXPECT_EQ(used.Status, 0);
    EXPECT_EQ(WithoutState(Run({"list", Path("used.vx8")}).Out), "clear-us     3     2   1 ? 3\n");
    EXPECT_EQ(unused.Status, 0);
    EXPECT_EQ(
        WithoutState(Run({"list", Path("unused.vx8")}).Out), "clear-un     3     2   1 ? 2\n");
    EXPECT_EQ(two.Status, 1);
    EXPECT_EQ(two.LastErrLine(),
        "vx8: pack: \"" + DataFile("two-clear.png")
            + "\" uses the fully transparent palette entries 0 and 1; an "
              "image can have only one transparent index");
    EXPECT_EQ(partial.Status, 1);
    EXPECT_EQ(partial.LastErrLine(),
        "vx8: pack: \"" + DataFile("partial-alpha.png")
            + "\" uses palette entry 1, which is partly transparent "
              "(alpha 128); only fully transparent entries can be "
              "stored");
}

TEST_F(ToolTest, PackNames_ComeFromTheFileOrNameEqualsAndMustFitAndDiffer)
{
    std::filesystem::copy_file(DataFile("full-palette.png"), Path("VeryLongName.png"));
    std::filesystem::create_directory(Path("other"));
    std::filesystem::copy_file(DataFile("full-palette.png"), Path("other/Short.png"));

    TToolRun tooLong = Run({"pack", Path("one.vx8"), Path("VeryLongName.png")});
    TToolRun named = Run(
        {"pack", Path("two.vx8"), "Given=" + Path("VeryLongName.png"), Path("other/Short.png")});
    TToolRun clash = Run(
        {"pack", Path("three.vx8"), "short=" + Path("VeryLongName.png"), Path("other/Short.png")});

    EXPECT_EQ(tooLong.LastErrLine(),
        "vx8: pack: the file name of \"" + Path("VeryLongName.png")
            + "\" does not fit the 8 characters of an image name; name the image with NAME="
            + Path("VeryLongName.png"));
    EXPECT_EQ(WithoutState(Run({"list", Path("two.vx8")}).Out),
        "Given        2     2   1 ? -\nShort        2     2   1 ? -\n");
    EXPECT_EQ(clash.LastErrLine(),
        "vx8: pack: \"" + Path("VeryLongName.png") + "\" and \"" + Path("other/Short.png")
            + "\" give the same image name \"short\"");
}

TEST_F(ToolTest, PackStats_ComparesEachImageAndTheTotalWithPng)
{
    std::string library = WriteLibrary("s.vx8", {Picture("p", 64, 64, 1), Picture("q", 9, 9, 2)});
    Run({"export", library, "p", Path("p.png")});
    Run({"export", library, "q", Path("q.png")});

    TToolRun run = Run({"pack", "--stats", Path("stats.vx8"), Path("p.png"), Path("q.png")});

    ASSERT_EQ(run.Status, 0) << run.Err;
    std::istringstream lines(run.Out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 4u) << run.Out;
    EXPECT_EQ(rows[0].rfind("image", 0), 0u);
    // A coding alone never beats the mix chosen segment by segment.
    std::istringstream p(rows[1]);
    std::string name, width, by, height;
    size_t stored = 0, alone = 0;
    p >> name >> width >> by >> height >> stored >> alone;
    EXPECT_GE(alone, stored) << rows[1];
    EXPECT_EQ(rows[1].rfind("p       ", 0), 0u);
    EXPECT_NE(rows[1].find("64 x 64"), std::string::npos);
    EXPECT_EQ(rows[2].rfind("q       ", 0), 0u);
    EXPECT_EQ(rows[3].rfind("total", 0), 0u);
    std::string fileSize = std::to_string(std::filesystem::file_size(Path("stats.vx8")));
    EXPECT_NE(rows[3].find("2 images, file " + fileSize + " bytes"), std::string::npos);
}

TEST_F(ToolTest, InterlacedPng_PacksToThePixelsOfItsRows)
{
    // interlaced.png: 13 x 11, pixel (x, y) = (7x + 13y) mod 256, a grey palette.
    std::vector<uint8_t> expected;
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 13; ++x) {
            expected.push_back(static_cast<uint8_t>((7 * x + 13 * y) % 256));
        }
    }

    TToolRun pack = Run({"pack", Path("i.vx8"), "interlac=" + DataFile("interlaced.png")});
    TToolRun exported = Run({"export", Path("i.vx8"), "interlac", Path("i.raw")});

    ASSERT_EQ(pack.Status, 0) << pack.Err;
    ASSERT_EQ(exported.Status, 0) << exported.Err;
    EXPECT_EQ(FileBytes(Path("i.raw")), expected);
}
