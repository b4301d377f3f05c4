#include "codec/VX8ImageSegment.h"

#include "common/KelException.h"

namespace {

struct TGeometry {
    uint32_t Stride = 0;
    uint32_t Count = 0; // n
    uint32_t Lines = 0; // L, the rows of every segment but the last
};

uint32_t CeilDiv(uint32_t a, uint32_t b)
{
    return (a + b - 1) / b;
}

// The number of segments and their rows: start from the fewest segments the bytes need and add
// segments until L rows of stride bytes fit the segment limit.
TGeometry ComputeGeometry(uint16_t width, uint16_t height)
{
    if (width > TVX8ImageSegment::MaxWidth)
        throw VX8Exception("SegmentGeometry: width above 65280 pixels");
    TGeometry g;
    g.Stride = TVX8ImageSegment::RowStride(width);
    const uint32_t total = uint32_t {height} * g.Stride;
    if (total == 0)
        return g;
    g.Count = CeilDiv(total, TVX8ImageSegment::SegmentLimit);
    g.Lines = CeilDiv(total / g.Count, g.Stride);
    while (g.Lines * g.Stride > TVX8ImageSegment::SegmentLimit) {
        ++g.Count;
        g.Lines = CeilDiv(total / g.Count, g.Stride);
    }
    return g;
}

uint16_t LinesOf(const TGeometry& g, uint16_t height, uint16_t index)
{
    if (index + 1u < g.Count)
        return static_cast<uint16_t>(g.Lines);
    if (index + 1u == g.Count)
        return static_cast<uint16_t>(height - g.Lines * (g.Count - 1));
    return 0;
}

} // namespace

uint16_t TVX8ImageSegment::RowStride(uint16_t width)
{
    return static_cast<uint16_t>(width + 3 - static_cast<uint16_t>(width - 1) % 4);
}

uint16_t TVX8ImageSegment::SegmentLines(uint16_t width, uint16_t height, uint16_t index)
{
    return LinesOf(ComputeGeometry(width, height), height, index);
}

uint16_t TVX8ImageSegment::SegmentBytes(uint16_t width, uint16_t height, uint16_t index)
{
    return static_cast<uint16_t>(SegmentLines(width, height, index) * RowStride(width));
}

uint16_t TVX8ImageSegment::SegmentCount(uint16_t width, uint16_t height)
{
    const uint32_t first = SegmentBytes(width, height, 0);
    if (first == 0)
        return 0;
    return static_cast<uint16_t>(CeilDiv(uint32_t {height} * RowStride(width), first));
}

uint16_t TVX8ImageSegment::MaskRowStride(uint16_t width)
{
    return static_cast<uint16_t>(((uint32_t {width} + 31) & ~uint32_t {31}) / 8);
}

uint16_t TVX8ImageSegment::SegmentMaskBytes(uint16_t width, uint16_t height, uint16_t index)
{
    return static_cast<uint16_t>(SegmentLines(width, height, index) * MaskRowStride(width));
}

bool TVX8ImageSegment::GeometryFits(uint16_t width, uint16_t height)
{
    if (width > MaxWidth)
        return false;
    const TGeometry g = ComputeGeometry(width, height);
    if (g.Count == 0)
        return true;
    const uint32_t lastLines = height - g.Lines * (g.Count - 1);
    return g.Count <= 255 && height > g.Lines * (g.Count - 1) && lastLines <= g.Lines
        && SegmentCount(width, height) == g.Count;
}
