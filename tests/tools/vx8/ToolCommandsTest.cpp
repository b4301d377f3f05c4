#include "ToolTestSupport.h"

TEST_F(ToolTest, Help_PrintsTheUsageToStandardOutput)
{
    TToolRun run = Run({"--help"});

    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.rfind("usage: vx8 COMMAND ARGUMENTS\n", 0), 0u);
    EXPECT_EQ(run.Err, "");
}

TEST_F(ToolTest, UnknownCommandsAndWrongArgumentCounts_PrintTheUsageAndExit2)
{
    std::string usage = Run({"--help"}).Out;
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"frobnicate", "x"},
        {"list"},
        {"list", "a.vx8", "b.vx8"},
        {"export", "a.vx8", "name"},
        {"check"},
        {"sheet", "a.vx8"},
        {"pack", "out.vx8"},
        {"pack", "--stats", "out.vx8"},
    };

    for (const auto& args : misuses) {
        TToolRun run = Run(args);

        EXPECT_EQ(run.Status, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.Err, usage);
        EXPECT_EQ(run.Out, "");
    }
}

TEST_F(ToolTest, List_ShowsEachDirectoryEntryInFileOrder)
{
    TVX8SourceImage zeta = Picture("Zeta", 5, 3, 0);
    zeta.Transparent = true;
    zeta.TransparentIndex = 4;
    TVX8SourceImage noise = Picture("noise", 8, 2, 1);
    for (size_t i = 0; i < noise.Pixels.size(); ++i) {
        noise.Pixels[i] = static_cast<uint8_t>(i * 37 + 11);
    }
    std::string library = WriteLibrary("list.vx8", {zeta, noise, Picture("wide", 640, 480, 3)});

    TToolRun run = Run({"list", library});
    TToolRun twins = Run({"list", DataFile("twins.vx8")});

    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(WithoutState(run.Out),
        "Zeta         5     3   1 ? 4\n"
        "noise        8     2   1 ? -\n"
        "wide       640   480   5 ? -\n");
    EXPECT_EQ(twins.Out, "twin         2     1   1 1 -\n");
}

TEST_F(ToolTest, ExportRaw_GivesTheInputPixelsTopRowFirst)
{
    std::vector<TVX8SourceImage> images
        = {Picture("one", 1, 1, 1), Picture("odd", 33, 17, 2), Picture("multi", 640, 480, 3)};
    std::string library = WriteLibrary("raw.vx8", images);

    for (const TVX8SourceImage& image : images) {
        TToolRun run = Run({"export", library, image.Name, Path(image.Name + ".raw")});

        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(FileBytes(Path(image.Name + ".raw")), image.Pixels) << image.Name;
    }
}

TEST_F(ToolTest, ExportByName_IgnoresCaseAndUsesTheFirst8Characters)
{
    std::string library = WriteLibrary("names.vx8", {Picture("alphabet", 4, 4, 1)});

    TToolRun run = Run({"export", library, "ALPHABETSOUP", Path("a.raw")});

    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(FileBytes(Path("a.raw")), Picture("alphabet", 4, 4, 1).Pixels);
}

TEST_F(ToolTest, ExportFailures_EndStandardErrorWithTheMessageAndExit1)
{
    std::string library = WriteLibrary("fail.vx8", {Picture("there", 4, 4, 1)});

    TToolRun missing = Run({"export", library, "NotThere9", Path("x.raw")});
    TToolRun extension = Run({"export", library, "there", Path("x.bmp")});
    TToolRun decode = Run({"export", DataFile("bad-line-code.vx8"), "bad", Path("x.png")});

    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.LastErrLine(), "vx8: Image \"NotThere\" does not exist");
    EXPECT_EQ(extension.Status, 1);
    EXPECT_EQ(
        extension.LastErrLine(), "vx8: export: \"" + Path("x.bmp") + "\" must end in .png or .raw");
    EXPECT_EQ(decode.Status, 1);
    EXPECT_EQ(decode.LastErrLine(), "vx8: Decode: invalid line code");
    EXPECT_FALSE(std::filesystem::exists(Path("x.png")));
}

TEST_F(ToolTest, CheckOfAGoodLibrary_ReportsEveryImageOkAndExits0)
{
    std::string library
        = WriteLibrary("good.vx8", {Picture("a", 3, 3, 1), Picture("b", 40000, 3, 2)});

    TToolRun run = Run({"check", library});

    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
        "a (3 x 3, offset 1030): ok\n"
        "b (40000 x 3, offset "
            + std::to_string(1030 + EncodeImageRecord(Picture("a", 3, 3, 1)).Bytes.size())
            + "): ok\n"
              "2 images, 0 problems\n");
}

TEST_F(ToolTest, CheckOfBrokenLibraries_ReportsEachProblemAndExits1)
{
    const std::pair<const char*, const char*> cases[] = {
        {"bad-line-code.vx8", "bad (4 x 2, offset 1058): Decode: invalid line code\n"},
        {"short-data.vx8", "short (4 x 2, offset 1030): Decode: source buffer overflow\n"},
        {"wrong-plain-size.vx8",
            "plain (4 x 2, offset 1030): ReadFromStream: segment size does not match image size\n"},
        {"twins.vx8",
            "TWIN (2 x 1, offset 1057): hidden by an earlier image of the same name; "
            "it can never be opened\n"},
    };

    for (auto [file, problem] : cases) {
        TToolRun run = Run({"check", DataFile(file)});

        EXPECT_EQ(run.Status, 1) << file;
        EXPECT_NE(run.Out.find(problem), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find(" 1 problem\n"), std::string::npos) << run.Out;
        EXPECT_EQ(run.LastErrLine(), "vx8: check: 1 problem in \"" + DataFile(file) + "\"");
    }
}

TEST_F(ToolTest, CheckOfAFileThatIsNoLibrary_FailsWithTheReadersMessage)
{
    TToolRun header = Run({"check", DataFile("bad-header.vx8")});
    TToolRun absent = Run({"check", Path("absent.vx8")});

    EXPECT_EQ(header.Status, 1);
    EXPECT_EQ(header.LastErrLine(), "vx8: ValidateVX8FileHeader: header invalid");
    EXPECT_EQ(absent.Status, 1);
    EXPECT_NE(absent.LastErrLine().find("absent.vx8"), std::string::npos);
}

TEST_F(ToolTest, Sheet_IsAnRgbPngWideEnoughForTheWidestImageAtTwiceItsSize)
{
    if (!PW_GUI)
        GTEST_SKIP() << "built without the toolkit: no sheet";
    TVX8SourceImage clear = Picture("clear", 20, 10, 1);
    clear.Transparent = true;
    std::string library = WriteLibrary("sheet.vx8", {clear, Picture("wide", 600, 40, 2)});

    TToolRun run = Run({"sheet", library, Path("sheet.png")});
    std::vector<uint8_t> png = FileBytes(Path("sheet.png"));

    ASSERT_EQ(run.Status, 0) << run.Err;
    ASSERT_GE(png.size(), 26u);
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    uint32_t width = (png[16] << 24) | (png[17] << 16) | (png[18] << 8) | png[19];
    uint32_t height = (png[20] << 24) | (png[21] << 16) | (png[22] << 8) | png[23];
    EXPECT_EQ(width, 16u + 1200u + 16u);
    EXPECT_GT(height, 16u + 20u + 16u + 80u);
    EXPECT_EQ(png[25], 2); // RGB
}

TEST_F(ToolTest, SheetWithoutTheToolkit_FailsAndSaysWhy)
{
    if (PW_GUI)
        GTEST_SKIP() << "built with the toolkit: the sheet is there";
    std::string library = WriteLibrary("sheet.vx8", {Picture("one", 4, 4, 1)});

    TToolRun run = Run({"sheet", library, Path("sheet.png")});

    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.LastErrLine(),
        "vx8: sheet: not in this vx8, built without pango and cairo (PW_GUI=OFF)");
    EXPECT_FALSE(std::filesystem::exists(Path("sheet.png")));
}
