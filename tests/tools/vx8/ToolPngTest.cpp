#include "TestPng.h"
#include "ToolTestSupport.h"

#include <algorithm>
#include <set>

namespace {

// The palette of --palette in these tests: five colours, then the transparent key at 5.
const std::vector<png_color> Colours
    = {{0, 0, 0}, {255, 255, 255}, {200, 0, 0}, {0, 180, 0}, {119, 119, 119}, {255, 0, 255}};
constexpr uint8_t Key = 5;

class ToolPngTest : public ToolTest {
protected:
    // Packs the PNG as image "p" (with the options) and returns its indices, or nothing.
    std::vector<uint8_t> PackAndExport(const TTestPng& png, std::vector<std::string> options = {})
    {
        EXPECT_TRUE(WriteTestPng(Path("in.png"), png));
        options.insert(options.begin(), "pack");
        options.insert(options.end(), {Path("out.vx8"), "p=" + Path("in.png")});
        TToolRun pack = Run(options);
        EXPECT_EQ(pack.Status, 0) << pack.Err;
        EXPECT_EQ(Run({"export", Path("out.vx8"), "p", Path("p.raw")}).Status, 0);
        return FileBytes(Path("p.raw"));
    }

    std::vector<std::string> WithPalette()
    {
        TTestPng palette {.Width = 1, .Samples = {0}, .Palette = Colours};
        palette.PaletteAlpha = {255, 255, 255, 255, 255, 0};
        EXPECT_TRUE(WriteTestPng(Path("palette.png"), palette));
        return {"--palette", Path("palette.png")};
    }
};

TEST_F(ToolPngTest, IndexedPngsOfEveryDepth_PackAndExportWithTheirColours)
{
    for (int depth : {1, 2, 4, 8}) {
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(testing::Message() << depth << " bits, interlaced " << interlaced);
            TTestPng png {.BitDepth = depth, .Interlaced = interlaced, .Width = 13, .Height = 7};
            for (int i = 0; i < (1 << depth); ++i)
                png.Palette.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(3 * i), 9});
            std::vector<uint8_t> expected;
            for (uint32_t i = 0; i < 13 * 7; ++i)
                expected.push_back(static_cast<uint8_t>((i * 5 + i / 13) % (1u << depth)));
            png.Samples.assign(expected.begin(), expected.end());

            EXPECT_EQ(PackAndExport(png), expected);
            const std::vector<uint8_t> library = FileBytes(Path("out.vx8"));
            for (size_t i = 0; i < png.Palette.size(); ++i)
                EXPECT_EQ(LibraryColour(library, i),
                    (std::array {png.Palette[i].red, png.Palette[i].green, png.Palette[i].blue}));
        }
    }
}

// Each pixel row: the palette's own colours, then colours near one of them, then the alpha
// threshold (below one half is the key).
TEST_F(ToolPngTest, TruecolourWithPalette_TakesExactAndNearestColoursAndTheKey)
{
    struct TCase {
        int ColourType, BitDepth;
        std::vector<uint16_t> Samples;
        std::vector<uint8_t> Expected;
    };
    const TCase cases[] = {
        {PNG_COLOR_TYPE_GRAY, 1, {0, 1}, {0, 1}},
        {PNG_COLOR_TYPE_GRAY, 2, {0, 3, 1}, {0, 1, 4}},
        {PNG_COLOR_TYPE_GRAY, 4, {0, 15, 7, 8}, {0, 1, 4, 4}},
        {PNG_COLOR_TYPE_GRAY, 8, {0, 255, 119, 30}, {0, 1, 4, 0}},
        {PNG_COLOR_TYPE_GRAY, 16, {0, 65535, 119 * 257, 240 * 257}, {0, 1, 4, 1}},
        {PNG_COLOR_TYPE_RGB, 8, {200, 0, 0, 0, 180, 0, 190, 20, 10, 20, 160, 30}, {2, 3, 2, 3}},
        {PNG_COLOR_TYPE_RGB, 16, {51400, 0, 0, 0, 46260, 0, 48000, 6000, 900}, {2, 3, 2}},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 8, {255, 255, 255, 128, 255, 127}, {1, 1, Key}},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0, 32768, 0, 32767}, {0, Key}},
        {PNG_COLOR_TYPE_RGB_ALPHA, 8, {0, 180, 0, 255, 0, 180, 0, 128, 0, 180, 0, 0}, {3, 3, Key}},
        {PNG_COLOR_TYPE_RGB_ALPHA, 16, {51400, 0, 0, 65535, 51400, 0, 0, 32767}, {2, Key}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "colour type " << c.ColourType << ", " << c.BitDepth);
        TTestPng png {.ColourType = c.ColourType, .BitDepth = c.BitDepth};
        png.Width = static_cast<uint32_t>(c.Expected.size());
        png.Samples = c.Samples;

        EXPECT_EQ(PackAndExport(png, WithPalette()), c.Expected);
        EXPECT_EQ(WithoutState(Run({"list", Path("out.vx8")}).Out).substr(25),
            c.Expected.back() == Key ? "? 5\n" : "? -\n");
    }
    TTestPng keyed {.ColourType = PNG_COLOR_TYPE_RGB, .Width = 2, .Samples = {1, 2, 3, 0, 0, 0}};
    keyed.HasTransparentColour = true;
    keyed.TransparentColour = {0, 1, 2, 3, 0};
    EXPECT_EQ(PackAndExport(keyed, WithPalette()), (std::vector<uint8_t> {Key, 0}));
}

TEST_F(ToolPngTest, DitherMixesTheNearestColoursOfAFlatArea)
{
    TTestPng png {.ColourType = PNG_COLOR_TYPE_GRAY, .Width = 16, .Height = 16};
    png.Samples.assign(256, 50);

    const std::vector<uint8_t> flat = PackAndExport(png, WithPalette());
    std::vector<std::string> options = WithPalette();
    options.push_back("--dither");
    const std::vector<uint8_t> dithered = PackAndExport(png, options);

    EXPECT_EQ(std::set<uint8_t>(flat.begin(), flat.end()), (std::set<uint8_t> {0}));
    EXPECT_EQ(std::set<uint8_t>(dithered.begin(), dithered.end()), (std::set<uint8_t> {0, 4}));
}

// The palette has no blue: what dithering would carry on no mix of neighbours could make up.
TEST_F(ToolPngTest, DitherOfColoursThePaletteLacks_AddsNoNoiseToThePlainMapping)
{
    TTestPng blue {.ColourType = PNG_COLOR_TYPE_RGB, .Width = 16, .Height = 16};
    for (uint16_t i = 0; i < 256; ++i)
        blue.Samples.insert(
            blue.Samples.end(), {uint16_t(60 + i % 16), uint16_t(60 + i / 16), 200});
    std::vector<std::string> options = WithPalette();
    const std::vector<uint8_t> plain = PackAndExport(blue, options);
    options.push_back("--dither");

    const std::vector<uint8_t> dithered = PackAndExport(blue, options);

    EXPECT_EQ(dithered, plain);
}

TEST_F(ToolPngTest, PicturesFarFromThePalette_AreWarnedAboutAndStatsGiveEveryonesDifference)
{
    const std::vector<std::string> palette = WithPalette();
    TTestPng blue {.ColourType = PNG_COLOR_TYPE_RGB, .Width = 2, .Samples = {60, 60, 200, 0, 0, 0}};
    TTestPng grey {.ColourType = PNG_COLOR_TYPE_GRAY, .Width = 2, .Samples = {0, 119}};
    ASSERT_TRUE(WriteTestPng(Path("blue.png"), blue));
    ASSERT_TRUE(WriteTestPng(Path("grey.png"), grey));

    for (bool dither : {false, true}) {
        SCOPED_TRACE(dither ? "dithered" : "plain");
        std::vector<std::string> args {"pack", "--stats", palette[0], palette[1]};
        if (dither)
            args.push_back("--dither");
        args.insert(args.end(), {Path("out.vx8"), Path("blue.png"), Path("grey.png")});
        TToolRun run = Run(args);

        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(
            run.Err.rfind("vx8: warning: pack: image \"blue\" of \"" + Path("blue.png")
                    + "\" strays from the palette of \"" + Path("palette.png") + "\" by Delta E ",
                0),
            0u)
            << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        EXPECT_NE(run.Out.find("mapped    mean Delta E  largest Delta E\n"), std::string::npos);
        EXPECT_NE(run.Out.find("\ngrey               0.0              0.0\n"), std::string::npos)
            << run.Out;
        EXPECT_NE(run.Out.find("\nblue      "), std::string::npos) << run.Out;
    }
}

TEST_F(ToolPngTest, IndexedPngOfAnotherPaletteIsRemappedAndTransparencyNeedsAKey)
{
    TTestPng other {.Width = 2, .Samples = {0, 1}, .Palette = {{190, 10, 10}, {250, 250, 250}}};
    EXPECT_EQ(PackAndExport(other, WithPalette()), (std::vector<uint8_t> {2, 1}));

    TTestPng clear {.ColourType = PNG_COLOR_TYPE_GRAY_ALPHA, .Width = 1, .Samples = {0, 0}};
    ASSERT_TRUE(WriteTestPng(Path("clear.png"), clear));
    WriteLibrary("plain.vx8", {Picture("x", 2, 2, 1)});
    TToolRun run
        = Run({"pack", "--palette", Path("plain.vx8"), Path("out.vx8"), Path("clear.png")});
    EXPECT_EQ(run.LastErrLine(),
        "vx8: pack: \"" + Path("clear.png") + "\" has transparent pixels, but the palette of \""
            + Path("plain.vx8") + "\" has no transparent index");
}

// Red at 0 and yellow at 255, which the game shows as black and white; darker ones at 1 and 2.
TEST_F(ToolPngTest, PaletteEntriesZeroAnd255_CountAsTheBlackAndWhiteTheGameShows)
{
    TTestPng palette {.Width = 2, .Samples = {0, 255}};
    palette.Palette.assign(256, {0, 0, 255});
    palette.Palette[0] = {255, 0, 0};
    palette.Palette[1] = {200, 0, 0};
    palette.Palette[2] = {200, 200, 0};
    palette.Palette[255] = {255, 255, 0};
    ASSERT_TRUE(WriteTestPng(Path("palette.png"), palette));
    const std::vector<std::string> options {"--palette", Path("palette.png")};
    TTestPng rgb {.ColourType = PNG_COLOR_TYPE_RGB,
        .Width = 4,
        .Samples = {255, 0, 0, 255, 255, 0, 0, 0, 0, 255, 255, 255}};

    EXPECT_EQ(PackAndExport(palette, options), (std::vector<uint8_t> {1, 2}));
    EXPECT_EQ(PackAndExport(rgb, options), (std::vector<uint8_t> {1, 2, 0, 255}));
    TToolRun stats
        = Run({"pack", "--stats", options[0], options[1], Path("out.vx8"), Path("in.png")});
    EXPECT_NE(stats.Out.find("\nin                11.5             24.9\n"), std::string::npos)
        << stats.Out;
    EXPECT_NE(stats.Err.find("by Delta E 11.5 on average"), std::string::npos) << stats.Err;
}

TEST_F(ToolPngTest, UnpackThenPackOfTheGamesLibrary_GivesItBackByteForByte)
{
    if (!PW_GUI)
        GTEST_SKIP() << "built without the toolkit: no art program, no game library";
    const std::string library = std::string(PW_BUILD_DIR) + "/Warden.vx8";

    TToolRun unpack = Run({"unpack", library, Path("art")});
    TToolRun pack = Run({"pack", Path("again.vx8"), "@" + Path("art/pack.list")});

    ASSERT_EQ(unpack.Status, 0) << unpack.Err;
    ASSERT_EQ(pack.Status, 0) << pack.Err;
    EXPECT_EQ(FileBytes(Path("again.vx8")), FileBytes(library));
}

} // namespace
