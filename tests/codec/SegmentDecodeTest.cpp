#include "StoredBytesOwner.h"
#include "common/KelException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using S = TVX8ImageSegment;
constexpr uint8_t E1 = 0xF0;
constexpr uint8_t E2 = 0xF1;

TBytes Row(const TBytes& rows, int i, int width, int stride)
{
    return TBytes(rows.begin() + i * stride, rows.begin() + i * stride + width);
}

// Decodes and expects the failure message.
void ExpectDecodeFailure(TBytes stored, uint16_t width, uint16_t height, const std::string& message,
    uint8_t flags = 0, uint8_t index = 0)
{
    TStoredBytesOwner owner(std::move(stored), index);
    try {
        owner.Decode(width, height, flags);
        ADD_FAILURE() << "decoding succeeded, expected " << message;
    } catch (const VX8Exception& e) {
        EXPECT_EQ(e.what(), message);
    }
    EXPECT_FALSE(owner.Segment.HasBuffer());
}

TEST(SegmentDecode, OnePixelRawRowFillsPaddingWithZero)
{
    TStoredBytesOwner owner({0, 42});
    EXPECT_EQ(owner.Decode(1, 1, 0), (TBytes {42, 0, 0, 0}));
    EXPECT_FALSE(owner.Segment.IsLocked());
}

TEST(SegmentDecode, RawLinesReadNoCodeBytes)
{
    TStoredBytesOwner owner({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(owner.Decode(3, 2, S::FlagRawLines), (TBytes {1, 2, 3, 0, 4, 5, 6, 0}));
}

TEST(SegmentDecode, EscapeFormsProduceTheirPixels)
{
    struct TCase {
        TBytes Sequence;
        TBytes Pixels;
    };
    const TCase cases[] = {
        {{7}, {7}},
        {{E2, E1}, {E2}},
        {{E2, E2}, {E2, E2}},
        {{E2, 9}, {9, 9, 9}},
        {{E1, 0}, {E1}},
        {{E1, 1}, {E1, E1}},
        {{E1, 3, 6}, {6, 6, 6}},
        {{E1, 4, E2}, {E2, E2, E2, E2}},
    };
    for (const TCase& c : cases) {
        TBytes stored {1};
        stored.insert(stored.end(), c.Sequence.begin(), c.Sequence.end());
        TBytes expected = c.Pixels;
        while (expected.size() < 4) {
            stored.push_back(0x55);
            expected.push_back(0x55);
        }
        TStoredBytesOwner owner(stored);
        EXPECT_EQ(owner.Decode(4, 1, 0), expected) << "sequence of " << c.Sequence.size();
    }
}

TEST(SegmentDecode, LineCodesThatUseTheRowBelow)
{
    const TBytes below {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    struct TCase {
        TBytes Codes;
        TBytes Row1;
    };
    const TCase cases[] = {
        {{7}, below},
        {{8, 0, 20, 21}, {0, 1, 2, 3, 4, 5, 6, 7, 20, 21}},
        {{1, E1, 2, 0}, below},
        {{3, E1, 2, 5, E1, 5, 30}, {0, 1, 2, 3, 4, 30, 30, 30, 30, 30}},
        {{2, E1, 10, 1}, {1, 0, 3, 2, 5, 4, 7, 6, 9, 8}},
        {{6, 44}, TBytes(10, 44)},
        {{4, 9, 9, E1, 8, 9}, TBytes(10, 9)},
    };
    for (const TCase& c : cases) {
        TBytes stored {0};
        stored.insert(stored.end(), below.begin(), below.end());
        stored.insert(stored.end(), c.Codes.begin(), c.Codes.end());
        TStoredBytesOwner owner(stored);
        const TBytes rows = owner.Decode(10, 2, 0);
        EXPECT_EQ(Row(rows, 0, 10, 12), below);
        EXPECT_EQ(Row(rows, 1, 10, 12), c.Row1) << "first code " << int {c.Codes[0]};
        EXPECT_EQ(rows[22], 0);
        EXPECT_EQ(rows[23], 0);
    }
}

TEST(SegmentDecode, RowZeroOfEverySegmentRejectsCodesThatUseTheRowBelow)
{
    for (uint8_t code : {2, 7, 8, 255})
        ExpectDecodeFailure({code, 1, 1, 1, 1}, 4, 1, "Decode: invalid line code");
    // Row 0 of the second segment of a 256 x 256 image: the image row below it lies in another
    // segment.
    ExpectDecodeFailure({7}, 256, 256, "Decode: invalid line code", 0, 1);
    ExpectDecodeFailure({1, E1, 2, 0}, 4, 1, "Decode: copy from the row below on row 0");
}

TEST(SegmentDecode, RowsThatWouldOverrunFail)
{
    TBytes row0 {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    TBytes code12 = row0;
    code12.push_back(12);
    ExpectDecodeFailure(code12, 10, 2, "Decode: output line overflow");
    ExpectDecodeFailure({1, 1, 1, 1, E2, 5}, 4, 1, "Decode: output line overflow");
    ExpectDecodeFailure({1, E1, 5, 9}, 4, 1, "Decode: output line overflow");
    TBytes copyTooMany = row0;
    copyTooMany.insert(copyTooMany.end(), {1, E1, 2, 11});
    ExpectDecodeFailure(copyTooMany, 10, 2, "Decode: output line overflow");
}

TEST(SegmentDecode, StoredBytesRunningOutFail)
{
    ExpectDecodeFailure({}, 4, 1, "Decode: source buffer overflow");
    ExpectDecodeFailure({0, 1, 2}, 4, 1, "Decode: source buffer overflow");
    ExpectDecodeFailure({1, 5, E1}, 4, 1, "Decode: source buffer overflow");
    ExpectDecodeFailure({6}, 4, 1, "Decode: source buffer overflow");
    ExpectDecodeFailure({1, 2, 3, 4}, 3, 2, "Decode: source buffer overflow", S::FlagRawLines);
    ExpectDecodeFailure({E1, 9}, 4, 1, "Decode: source buffer overflow", S::FlagRunsOnly);
}

TEST(SegmentDecode, RunOnlyRunsContinueIntoTheNextRow)
{
    // A run of five starts two pixels before the end of row 0.
    TStoredBytesOwner owner({1, 2, E1, 5, 9, 3});
    const TBytes rows = owner.Decode(4, 2, S::FlagRunsOnly);
    EXPECT_EQ(rows, (TBytes {1, 2, 9, 9, 9, 9, 9, 3}));
}

TEST(SegmentDecode, RunOnlyCountsTwoAndTheEscapePairs)
{
    TStoredBytesOwner owner({E1, 2, 7, E1, 0, E1, 1, E2, E1, E2, E2, E2, 4, 0, 0});
    const TBytes rows = owner.Decode(13, 1, S::FlagRunsOnly | S::FlagRawLines);
    EXPECT_EQ(Row(rows, 0, 13, 16), (TBytes {7, 7, E1, E1, E1, E2, E2, E2, 4, 4, 4, 0, 0}));
}

} // namespace
