#include "EncoderTestSupport.h"

#include <array>

namespace {

// One segment's rows, bottom-up and padded, from a picture given bottom row first.
struct TSegmentRows {
    uint16_t Width;
    uint16_t Lines;
    std::vector<uint8_t> Bytes;
};

TSegmentRows SegmentOf(uint16_t width, uint16_t lines,
    const std::function<uint8_t(int, int, const TSegmentRows&)>& pixel)
{
    TSegmentRows rows {width, lines, {}};
    size_t stride = width + 3u - ((width - 1u) % 4u);
    rows.Bytes.assign(stride * lines, 0);
    for (int i = 0; i < lines; ++i) {
        for (int x = 0; x < width; ++x) {
            rows.Bytes[i * stride + x] = pixel(x, i, rows);
        }
    }
    return rows;
}

uint8_t Below(const TSegmentRows& rows, int x, int i)
{
    size_t stride = rows.Bytes.size() / rows.Lines;
    return rows.Bytes[(i - 1) * stride + x];
}

TVX8EncodedSegment Encode(const TSegmentRows& rows)
{
    return EncodeSegment(rows.Bytes, rows.Width, rows.Lines);
}

} // namespace

TEST(EncoderChoice, FlatSegment_IsOneFillRowThenCopiesOfTheRowBelow)
{
    auto rows = SegmentOf(208, 208, [](int, int, auto&) { return 5; });

    TVX8EncodedSegment segment = Encode(rows);

    EXPECT_EQ(segment.Coding, TVX8Coding::Lines);
    EXPECT_EQ(segment.LineCodes[6], 1u);
    EXPECT_EQ(segment.LineCodes[7], 207u);
    EXPECT_EQ(segment.Stored.size(), 2u + 207u);
}

TEST(EncoderChoice, FlatSegmentOfNarrowRows_IsRunOnlyAcrossRows)
{
    auto rows = SegmentOf(4, 4000, [](int, int, auto&) { return 5; });

    TVX8EncodedSegment segment = Encode(rows);

    EXPECT_EQ(segment.Coding, TVX8Coding::RunsOnly);
    EXPECT_EQ(segment.Flags, VX8RunsOnlyFlag | VX8EncodedFlag);
    EXPECT_LT(segment.Stored.size(), 200u);
}

TEST(EncoderChoice, RowsPartlyEqualToTheRowBelow_UseCopyCodes)
{
    std::mt19937 rng(3);
    auto rows = SegmentOf(220, 20, [&](int x, int i, auto& r) {
        return i > 0 && x < 200 ? Below(r, x, i) : static_cast<uint8_t>(rng());
    });

    TVX8EncodedSegment segment = Encode(rows);

    EXPECT_EQ(segment.Coding, TVX8Coding::Lines);
    EXPECT_EQ(segment.LineCodes[8], 19u);
    EXPECT_LT(segment.Stored.size(), 20u * 25u + 220u);
}

TEST(EncoderChoice, RowsDifferingFromTheRowBelowByAFixedPattern_UseExclusiveOr)
{
    std::mt19937 rng(4);
    auto rows = SegmentOf(64, 32, [&](int x, int i, auto& r) {
        return i == 0 ? static_cast<uint8_t>(rng())
                      : static_cast<uint8_t>(Below(r, x, i) ^ ((x / 8) % 2 ? 0x10 : 0));
    });

    TVX8EncodedSegment segment = Encode(rows);

    EXPECT_EQ(segment.Coding, TVX8Coding::Lines);
    EXPECT_EQ(segment.LineCodes[2], 31u);
}

TEST(EncoderChoice, Noise_IsStoredPlainWhenRowsNeedNoPaddingElseAsRawLines)
{
    std::mt19937 rng(5);
    auto even = SegmentOf(64, 32, [&](int, int, auto&) { return static_cast<uint8_t>(rng()); });
    auto odd = SegmentOf(63, 32, [&](int, int, auto&) { return static_cast<uint8_t>(rng()); });

    TVX8EncodedSegment plain = Encode(even);
    TVX8EncodedSegment raw = Encode(odd);

    EXPECT_EQ(plain.Coding, TVX8Coding::Plain);
    EXPECT_EQ(plain.Flags, 0);
    EXPECT_EQ(plain.Stored, even.Bytes);
    EXPECT_EQ(raw.Coding, TVX8Coding::RawLines);
    EXPECT_EQ(raw.Flags, VX8RawLinesFlag | VX8EncodedFlag);
    EXPECT_EQ(raw.Stored.size(), 63u * 32u);
}

TEST(EncoderChoice, RowZeroOfEverySegment_NeverRefersToTheRowBelow)
{
    // Every row is the same, so all rows but the first of each segment copy the one below.
    TVX8SourceImage stripes = MakeImage("stripes", 300, 600, [](int x, int) { return x % 7; });

    TVX8EncodedRecord record = EncodeImageRecord(stripes);

    ASSERT_EQ(record.Segments.size(), 3u);
    for (const TVX8EncodedSegment& segment : record.Segments) {
        EXPECT_EQ(segment.LineCodes[7], 199u);
        EXPECT_EQ(segment.LineCodes[2] + segment.LineCodes[8], 0u);
    }
}

TEST(EncoderChoice, EscapeBytes_AreTheTwoLeastUsedValuesLowestFirstOnTies)
{
    auto allButTwo = SegmentOf(16, 16, [](int x, int i, auto&) {
        int v = i * 16 + x;
        return v == 100 || v == 200 ? uint8_t {7} : static_cast<uint8_t>(v);
    });
    auto rareNine = SegmentOf(4, 4, [](int x, int i, auto&) { return i == 0 && x == 0 ? 9 : 1; });

    EXPECT_EQ(LeastUsedValues(allButTwo.Bytes, 16, 16), (std::array<uint8_t, 2> {100, 200}));
    EXPECT_EQ(LeastUsedValues(rareNine.Bytes, 4, 4), (std::array<uint8_t, 2> {0, 2}));
    TVX8EncodedSegment lines;
    EncodeLineCoding(allButTwo.Bytes, 16, 16, lines);
    EXPECT_EQ(lines.Escape1, 100);
    EXPECT_EQ(lines.Escape2, 200);
}

TEST(EncoderFormat, OnePixelImage_HasTheDocumentedRecordLayout)
{
    TVX8SourceImage pixel = MakeImage("a", 1, 1, [](int, int) { return 9; });

    TVX8EncodedRecord record = EncodeImageRecord(pixel);

    // Raw lines (one byte) beat plain rows (a padded row of four); the tie with a run goes to raw.
    std::vector<uint8_t> expected {
        'a', 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 3, 0, 26, 0, 0, 0, 0, 0, 9, 9};
    EXPECT_EQ(record.Bytes, expected);
}

TEST(EncoderFormat, Library_IsHeaderPaletteThenRecordsWithoutGaps)
{
    TVX8SourceImage first = MakeImage("First", 5, 3, [](int x, int) { return x; });
    first.Transparent = true;
    first.TransparentIndex = 4;
    TVX8SourceImage second = MakeImage("eightchr", 2, 2, [](int, int) { return 1; });

    TVX8Palette palette = TestPalette();
    std::vector<uint8_t> file = EncodeLibrary(palette, {first, second});
    size_t firstLength = EncodeImageRecord(first).Bytes.size();

    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 6),
        (std::vector<uint8_t> {'V', 'X', 8, 0, 2, 0}));
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), file.begin() + 6));
    EXPECT_EQ(std::string(file.begin() + 1030, file.begin() + 1035), "First");
    EXPECT_EQ(file[1030 + 14], 4);
    EXPECT_EQ(file[1030 + 15], 1);
    EXPECT_EQ(std::string(file.begin() + 1030 + firstLength, file.begin() + 1038 + firstLength),
        "eightchr");
    EXPECT_EQ(file.size(), 1030 + firstLength + EncodeImageRecord(second).Bytes.size());
}

TEST(EncoderFormat, SegmentLayout_CutsImagesIntoBandsOfAtMost65280Bytes)
{
    struct TCase {
        uint16_t Width, Height, Stride, Lines, LastLines, Count;
    };
    const TCase cases[] = {
        {208, 208, 208, 208, 208, 1},
        {209, 1, 212, 1, 1, 1},
        {256, 256, 256, 128, 128, 2},
        {640, 480, 640, 96, 96, 5},
        {1024, 768, 1024, 60, 48, 13},
        {65280, 255, 65280, 1, 1, 255},
    };
    for (const TCase& c : cases) {
        TVX8SegmentLayout layout = VX8SegmentLayout(c.Width, c.Height);
        EXPECT_EQ((std::array {layout.Stride, layout.Lines, layout.LastLines, layout.Count}),
            (std::array {c.Stride, c.Lines, c.LastLines, c.Count}))
            << c.Width << " x " << c.Height;
    }
    for (auto [width, height] : {std::pair {0, 5}, {5, 0}, {65280, 256}})
        EXPECT_EQ(FailureOf([&] { VX8SegmentLayout(width, height); }),
            "SegmentLayout: a " + std::to_string(width) + " x " + std::to_string(height)
                + " image cannot be cut into 1 to 255 segments");
}
