#include "EncoderTestSupport.h"

#include <chrono>

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

TEST(EncoderFormat, SegmentLayout_AgreesWithTheReadersGeometry)
{
    for (uint32_t w : {1u, 2u, 3u, 4u, 5u, 99u, 208u, 216u, 255u, 256u, 640u, 1023u, 1024u, 32641u,
             40000u, 65280u}) {
        for (uint32_t h : {1u, 2u, 3u, 100u, 208u, 255u, 256u, 480u, 768u, 5000u, 65535u}) {
            auto width = static_cast<uint16_t>(w);
            auto height = static_cast<uint16_t>(h);
            SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
            bool fits = TVX8ImageSegment::GeometryFits(width, height);
            if (!fits) {
                EXPECT_NE(FailureOf([&] { VX8SegmentLayout(width, height); }), "");
                continue;
            }
            TVX8SegmentLayout layout = VX8SegmentLayout(width, height);
            ASSERT_EQ(layout.Count, TVX8ImageSegment::SegmentCount(width, height));
            EXPECT_EQ(layout.Stride, TVX8ImageSegment::RowStride(width));
            for (uint16_t k = 0; k < layout.Count; ++k) {
                EXPECT_EQ(layout.LinesOf(k), TVX8ImageSegment::SegmentLines(width, height, k));
            }
        }
    }
}

TEST(EncoderFormat, PictureOf1024By768_IsPackedWellWithinSeconds)
{
    std::mt19937 rng(8);
    TVX8SourceImage image = MakeImage("big", 1024, 768, [&](int x, int y) {
        return (x / 32 + y / 32) % 2 ? static_cast<uint8_t>((x * y) % 7)
                                     : static_cast<uint8_t>(rng());
    });

    auto start = std::chrono::steady_clock::now();
    TVX8EncodedRecord record = EncodeImageRecord(image);
    auto elapsed = std::chrono::steady_clock::now() - start;

    // About 0.2 s in a debug build; a coder that went quadratic would take minutes.
    EXPECT_LT(elapsed, std::chrono::seconds(3));
    EXPECT_EQ(record.Segments.size(), 13u);
}
