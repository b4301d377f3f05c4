#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// One picture to store in a library file: palette indices, top row first, no padding.
struct TVX8SourceImage {
    std::string Name; // at most 8 single-byte characters, stored as given
    uint16_t Width = 0;
    uint16_t Height = 0;
    std::vector<uint8_t> Pixels; // Width * Height indices
    bool Transparent = false;
    uint8_t TransparentIndex = 0;
};

// The shared palette as the file stores it: 256 entries of blue, green, red and a fourth byte.
using TVX8Palette = std::array<uint8_t, 1024>;

// The bytes of a whole library file holding the images in the given order.
std::vector<uint8_t> EncodeLibrary(
    const TVX8Palette& palette, const std::vector<TVX8SourceImage>& images);

// Writes EncodeLibrary's bytes to path; a failure raises KelException naming the file.
void WriteLibraryFile(const std::string& path, const TVX8Palette& palette,
    const std::vector<TVX8SourceImage>& images);

// Bits of a segment block's Flags byte.
constexpr uint8_t VX8RawLinesFlag = 0x01;
constexpr uint8_t VX8RunsOnlyFlag = 0x02;
constexpr uint8_t VX8EncodedFlag = 0x08;

// The four ways a segment can be stored, in the order of preference when sizes tie.
enum class TVX8Coding : uint8_t { Plain, RawLines, RunsOnly, Lines };

// How many rows of each line coding the segment used: entries 0 to 7 count the finishing codes,
// entry 8 counts the copy codes 8 to 255.
using TVX8LineCodeCounts = std::array<uint32_t, 9>;

// One segment as its block stores it: the 3-byte prefix and the stored bytes.
struct TVX8EncodedSegment {
    TVX8Coding Coding = TVX8Coding::Plain;
    uint8_t Escape1 = 0;
    uint8_t Escape2 = 0;
    uint8_t Flags = 0;
    std::vector<uint8_t> Stored;
    TVX8LineCodeCounts LineCodes {};
};

// How an image is cut into segments: every segment but the last holds Lines rows.
struct TVX8SegmentLayout {
    uint16_t Stride = 0;
    uint16_t Lines = 0;
    uint16_t LastLines = 0;
    uint16_t Count = 0;
    uint16_t LinesOf(uint16_t k) const { return k + 1 == Count ? LastLines : Lines; }
};

// The segment geometry of a width x height image. Raises KelException when it cannot cut the
// image into 1 to 255 segments that hold every row: a size of 0, a width above 65,280, too many
// segments, or one of the few very tall sizes whose last segment would overrun the limit.
TVX8SegmentLayout VX8SegmentLayout(uint16_t width, uint16_t height);

// Stores one segment in the smallest coding, or in the given one. rows holds the segment's
// pixel rows as the decoder produces them: bottom-up, each padded to the row stride with zeros.
TVX8EncodedSegment EncodeSegment(std::span<const uint8_t> rows, uint16_t width, uint16_t lines,
    std::optional<TVX8Coding> coding = std::nullopt);

// The codings, each on its own; the escape bytes go to segment.Escape1 and Escape2.
void EncodeLineCoding(
    std::span<const uint8_t> rows, uint16_t width, uint16_t lines, TVX8EncodedSegment& segment);
void EncodeRunCoding(
    std::span<const uint8_t> rows, uint16_t width, uint16_t lines, TVX8EncodedSegment& segment);

// The stride of rows holding `lines` rows of width pixels each: rows.size() / lines; raises
// KelException when the rows cannot hold them.
size_t SegmentRowStride(std::span<const uint8_t> rows, uint16_t width, uint16_t lines);

// The two distinct byte values that the pixels use least (the lower value first on ties).
std::array<uint8_t, 2> LeastUsedValues(
    std::span<const uint8_t> rows, uint16_t width, uint16_t lines);

// Clears segment for an escape-coded coding (line codes or runs only): its coding, flags and
// the escapes, which are the two least used values; returns the escapes.
std::array<uint8_t, 2> StartEscapedSegment(std::span<const uint8_t> rows, uint16_t width,
    uint16_t lines, TVX8Coding coding, TVX8EncodedSegment& segment);

struct TVX8EncodedRecord {
    std::vector<TVX8EncodedSegment> Segments;
    std::vector<uint8_t> Bytes; // the record exactly as the library file holds it
};

// Checks the image and stores it as one record; a forced coding applies to every segment.
TVX8EncodedRecord EncodeImageRecord(
    const TVX8SourceImage& image, std::optional<TVX8Coding> coding = std::nullopt);

// A library file from records made by EncodeImageRecord; names must differ, ignoring case.
std::vector<uint8_t> AssembleLibrary(
    const TVX8Palette& palette, const std::vector<TVX8EncodedRecord>& records);

// Replaces the file at path with the bytes through a temporary file, so a failure leaves the old
// file and no partial library.
void WriteLibraryBytes(const std::string& path, const std::vector<uint8_t>& bytes);
