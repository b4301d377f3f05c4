#include "EncoderTestSupport.h"

#include <utility>

namespace {

const std::pair<uint16_t, uint16_t> SmallSizes[] = {
    {1, 1},
    {2, 1},
    {1, 2},
    {3, 3},
    {5, 1},
    {7, 13},
    {31, 9},
    {33, 65},
    {4, 300},
    {255, 255},
};

// Multi-segment sizes: 256 x 256 gives two segments, 640 x 480 five, 1023 x 100 two of odd
// width, 40,000 x 3 three segments of one row each.
const std::pair<uint16_t, uint16_t> LargeSizes[] = {
    {256, 256},
    {640, 480},
    {1023, 100},
    {40000, 3},
};

std::string NameOf(size_t n)
{
    return "img" + std::to_string(n);
}

} // namespace

TEST(EncoderRoundTrip, EveryKindOfPictureInManySizes_DecodesToTheSamePixels)
{
    std::mt19937 rng = SeededGenerator();
    std::vector<TVX8SourceImage> images;
    for (auto [width, height] : SmallSizes) {
        for (TPictureKind kind : AllPictureKinds) {
            images.push_back(MakePicture(kind, NameOf(images.size()), width, height, rng));
        }
    }
    for (auto [width, height] : LargeSizes) {
        for (TPictureKind kind : {TPictureKind::Runs, TPictureKind::RowCopies}) {
            images.push_back(MakePicture(kind, NameOf(images.size()), width, height, rng));
        }
    }
    for (size_t i = 0; i < images.size(); i += 3) {
        images[i].Transparent = true;
        images[i].TransparentIndex = images[i].Pixels[0];
    }

    ExpectRoundTrip(images);
}

TEST(EncoderRoundTrip, EachCodingForcedOnEverySegment_DecodesToTheSamePixels)
{
    std::mt19937 rng = SeededGenerator();
    std::vector<TVX8SourceImage> images;
    for (auto [width, height] : {std::pair<uint16_t, uint16_t> {1, 1}, {9, 7}, {300, 300}}) {
        for (TPictureKind kind : AllPictureKinds) {
            images.push_back(MakePicture(kind, NameOf(images.size()), width, height, rng));
        }
    }

    for (TVX8Coding coding :
        {TVX8Coding::Plain, TVX8Coding::RawLines, TVX8Coding::RunsOnly, TVX8Coding::Lines}) {
        SCOPED_TRACE("coding " + std::to_string(static_cast<int>(coding)));
        ExpectRoundTrip(images, coding);
    }
}

TEST(EncoderRoundTrip, PixelsEqualToTheEscapeBytes_DecodeInEveryCoding)
{
    // One segment in which 0 and 1 are the values used least, so they become the escapes.
    // They appear alone, in pairs, triples and runs between long runs, where escape coding
    // beats raw rows; every other value appears in runs of 1 to 90 between other values.
    std::vector<uint8_t> pattern;
    for (int repeat = 0; repeat < 4; ++repeat) {
        for (int n : {1, 2, 3, 5, 9}) {
            for (uint8_t escape : {0, 1}) {
                pattern.insert(pattern.end(), 30, static_cast<uint8_t>(100 + n + escape));
                pattern.insert(pattern.end(), n, escape);
            }
        }
    }
    for (int n : {1, 2, 3, 4, 90}) {
        for (int v = 2; v < 256; ++v) {
            pattern.insert(pattern.end(), n, static_cast<uint8_t>(v));
        }
    }
    pattern.resize((pattern.size() + 132) / 133 * 133, 50);
    TVX8SourceImage image = MakeImage("escapes", 133, static_cast<uint16_t>(pattern.size() / 133),
        [&](int x, int y) { return pattern[y * 133 + x]; });

    for (TVX8Coding coding : {TVX8Coding::RunsOnly, TVX8Coding::Lines}) {
        TVX8EncodedRecord record = EncodeImageRecord(image, coding);
        ASSERT_EQ(record.Segments.size(), 1u);
        EXPECT_EQ(record.Segments[0].Escape1, 0);
        EXPECT_EQ(record.Segments[0].Escape2, 1);
        ExpectRoundTrip({image}, {record});
    }
    ExpectRoundTrip({image});
}

TEST(EncoderRoundTrip, TransparentIndexAtEitherEndOfThePalette_IsKept)
{
    TVX8SourceImage low = MakeImage("low", 3, 2, [](int x, int) { return x; });
    low.Transparent = true;
    low.TransparentIndex = 0;
    TVX8SourceImage high = MakeImage("high", 3, 2, [](int x, int) { return 253 + x; });
    high.Transparent = true;
    high.TransparentIndex = 255;
    TVX8SourceImage opaque = MakeImage("opaque", 3, 2, [](int x, int) { return x; });

    ExpectRoundTrip({low, high, opaque});
}

TEST(EncoderRoundTrip, AllPlainRecord_IsStoredInState2AndLoadedOnFirstLock)
{
    std::mt19937 rng(7);
    TVX8SourceImage noise = MakePicture(TPictureKind::Noise, "noise", 64, 1100, rng);

    TVX8EncodedRecord record = EncodeImageRecord(noise);

    ASSERT_EQ(record.Segments.size(), 2u);
    for (const TVX8EncodedSegment& segment : record.Segments) {
        EXPECT_EQ(segment.Coding, TVX8Coding::Plain);
    }
    EXPECT_EQ(record.Bytes[13], 2);
    ExpectRoundTrip({noise}, {record});
}

TEST(EncoderRoundTrip, MixedCodingsInOneRecord_AreStoredInState1)
{
    // The top rows are flat and the bottom rows noise: segment 0 holds the bottom rows.
    std::mt19937 rng(11);
    TVX8SourceImage image = MakeImage("mixed", 256, 512,
        [&](int, int y) { return y < 256 ? uint8_t {9} : static_cast<uint8_t>(rng()); });

    TVX8EncodedRecord record = EncodeImageRecord(image);

    ASSERT_EQ(record.Segments.size(), 3u);
    EXPECT_EQ(record.Segments[0].Coding, TVX8Coding::Plain);
    EXPECT_EQ(record.Segments[2].Coding, TVX8Coding::Lines);
    EXPECT_EQ(record.Bytes[13], 1);
    ExpectRoundTrip({image}, {record});
}
