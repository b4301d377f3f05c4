#include "encoder/VX8Encoder.h"

#include "common/KelException.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr size_t MaxStoredLength = 65535;

// One run of n pixels of value v in run-only coding; runs longer than 255 are cut into pieces.
void EmitRun(uint8_t v, size_t n, uint8_t e1, uint8_t e2, std::vector<uint8_t>& out)
{
    while (n > 0) {
        auto piece = static_cast<uint8_t>(std::min<size_t>(n, 255));
        n -= piece;
        if (v == e1 && piece <= 2) {
            out.insert(out.end(), {e1, static_cast<uint8_t>(piece - 1)});
        } else if (v == e2 && piece <= 2) {
            out.insert(out.end(), {e2, piece == 1 ? e1 : e2});
        } else if (v != e1 && v != e2 && piece <= 2) {
            out.insert(out.end(), piece, v);
        } else if (v != e1 && v != e2 && piece == 3) {
            out.insert(out.end(), {e2, v});
        } else {
            out.insert(out.end(), {e1, piece, v});
        }
    }
}

void EncodeRawLines(
    std::span<const uint8_t> rows, uint16_t width, uint16_t lines, TVX8EncodedSegment& segment)
{
    size_t stride = SegmentRowStride(rows, width, lines);
    segment.Coding = TVX8Coding::RawLines;
    segment.Escape1 = segment.Escape2 = 0;
    segment.Flags = VX8RawLinesFlag | VX8EncodedFlag;
    segment.LineCodes = {};
    segment.Stored.clear();
    for (size_t i = 0; i < lines; ++i) {
        auto row = rows.begin() + static_cast<ptrdiff_t>(i * stride);
        segment.Stored.insert(segment.Stored.end(), row, row + width);
    }
}

void EncodePlainRows(std::span<const uint8_t> rows, TVX8EncodedSegment& segment)
{
    segment.Coding = TVX8Coding::Plain;
    segment.Escape1 = segment.Escape2 = 0;
    segment.Flags = 0;
    segment.LineCodes = {};
    segment.Stored.assign(rows.begin(), rows.end());
}

void EncodeAs(TVX8Coding coding, std::span<const uint8_t> rows, uint16_t width, uint16_t lines,
    TVX8EncodedSegment& segment)
{
    switch (coding) {
    case TVX8Coding::Plain:
        EncodePlainRows(rows, segment);
        break;
    case TVX8Coding::RawLines:
        EncodeRawLines(rows, width, lines, segment);
        break;
    case TVX8Coding::RunsOnly:
        EncodeRunCoding(rows, width, lines, segment);
        break;
    case TVX8Coding::Lines:
        EncodeLineCoding(rows, width, lines, segment);
        break;
    }
}

} // namespace

size_t SegmentRowStride(std::span<const uint8_t> rows, uint16_t width, uint16_t lines)
{
    size_t stride = lines == 0 ? 0 : rows.size() / lines;
    if (width == 0 || stride < width || stride * lines != rows.size()) {
        throw KelException("EncodeSegment: " + std::to_string(rows.size()) + " bytes are not "
            + std::to_string(lines) + " rows of width " + std::to_string(width));
    }
    return stride;
}

std::array<uint8_t, 2> LeastUsedValues(
    std::span<const uint8_t> rows, uint16_t width, uint16_t lines)
{
    std::array<uint32_t, 256> uses {};
    size_t stride = SegmentRowStride(rows, width, lines);
    for (size_t i = 0; i < lines; ++i) {
        for (size_t x = 0; x < width; ++x) {
            ++uses[rows[i * stride + x]];
        }
    }
    std::array<uint8_t, 256> order;
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(
        order.begin(), order.end(), [&](uint8_t a, uint8_t b) { return uses[a] < uses[b]; });
    return {order[0], order[1]};
}

std::array<uint8_t, 2> StartEscapedSegment(std::span<const uint8_t> rows, uint16_t width,
    uint16_t lines, TVX8Coding coding, TVX8EncodedSegment& segment)
{
    auto escapes = LeastUsedValues(rows, width, lines);
    segment.Coding = coding;
    segment.Escape1 = escapes[0];
    segment.Escape2 = escapes[1];
    segment.Flags
        = coding == TVX8Coding::RunsOnly ? VX8RunsOnlyFlag | VX8EncodedFlag : VX8EncodedFlag;
    segment.LineCodes = {};
    segment.Stored.clear();
    return escapes;
}

void EncodeRunCoding(
    std::span<const uint8_t> rows, uint16_t width, uint16_t lines, TVX8EncodedSegment& segment)
{
    auto [e1, e2] = StartEscapedSegment(rows, width, lines, TVX8Coding::RunsOnly, segment);
    size_t stride = SegmentRowStride(rows, width, lines);
    // Runs go on from the end of one row into the next, so the pixels are taken as one sequence.
    size_t runLength = 0;
    uint8_t runValue = 0;
    for (size_t i = 0; i < lines; ++i) {
        for (size_t x = 0; x < width; ++x) {
            uint8_t v = rows[i * stride + x];
            if (runLength > 0 && v != runValue) {
                EmitRun(runValue, runLength, e1, e2, segment.Stored);
                runLength = 0;
            }
            runValue = v;
            ++runLength;
        }
    }
    EmitRun(runValue, runLength, e1, e2, segment.Stored);
}

TVX8EncodedSegment EncodeSegment(
    std::span<const uint8_t> rows, uint16_t width, uint16_t lines, std::optional<TVX8Coding> coding)
{
    size_t stride = width + 3u - ((width - 1u) % 4u);
    if (width == 0 || lines == 0 || rows.size() != stride * lines) {
        throw KelException("EncodeSegment: the rows do not fill a segment of "
            + std::to_string(lines) + " rows of width " + std::to_string(width));
    }
    TVX8EncodedSegment segment;
    if (coding) {
        EncodeAs(*coding, rows, width, lines, segment);
    } else {
        // Ties go to the coding that is cheapest to read back: plain rows need no decoding.
        size_t rawSize = size_t {width} * lines;
        TVX8EncodedSegment runs;
        EncodeRunCoding(rows, width, lines, runs);
        EncodeLineCoding(rows, width, lines, segment);
        if (runs.Stored.size() <= segment.Stored.size()) {
            segment = std::move(runs);
        }
        if (rows.size() <= std::min(rawSize, segment.Stored.size())) {
            EncodePlainRows(rows, segment);
        } else if (rawSize <= segment.Stored.size()) {
            EncodeRawLines(rows, width, lines, segment);
        }
    }
    if (segment.Stored.size() > MaxStoredLength) {
        throw KelException("EncodeSegment: " + std::to_string(segment.Stored.size())
            + " stored bytes exceed the 65,535 a segment block can hold");
    }
    return segment;
}
