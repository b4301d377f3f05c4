#include "surface/VX8ImageData.h"

#include "common/KelException.h"

#include <exception>
#include <utility>

void TVX8ImageData::Setup(uint16_t width, uint16_t height, TVX8SegmentArray segments,
    uint8_t transparentIndex, bool transparent, TBitmapInfo* pbmInfo)
{
    // Row addressing trusts the segments to follow the geometry; check that once here.
    bool fits = TVX8ImageSegment::GeometryFits(width, height)
        && segments.size() == TVX8ImageSegment::SegmentCount(width, height);
    for (const auto& segment : segments)
        fits = fits && segment != nullptr;
    if (!fits)
        throw VX8Exception("Setup: segments do not match the image size");
    Width = width;
    Height = height;
    Segments = segments;
    SegmentCount = static_cast<uint8_t>(segments.size());
    LineBytes = TVX8ImageSegment::RowStride(width);
    FLinesPerSegment = TVX8ImageSegment::SegmentLines(width, height, 0);
    TransparentIndex = transparentIndex;
    Transparent = transparent;
    PBMInfo = pbmInfo;
    ClipRect = Bounds();
}

void TVX8ImageData::ClipToBounds(TRect& r) const
{
    if (r.Left > r.Right)
        std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    if (r.Left < 0)
        r.Left = 0;
    if (r.Top < 0)
        r.Top = 0;
    if (r.Right > Width)
        r.Right = Width;
    if (r.Bottom > Height)
        r.Bottom = Height;
}

void TVX8ImageData::ClipToClipRect(TRect& r) const
{
    ClipToBounds(r);
    TRect clipped;
    IntersectRect(clipped, r, ClipRect);
    r = clipped;
}

TRect TVX8ImageData::SegmentRect(int k) const
{
    if (k < 0 || k >= SegmentCount)
        return {};
    const int32_t lines
        = k + 1 < SegmentCount ? FLinesPerSegment : Height - FLinesPerSegment * (SegmentCount - 1);
    const int32_t bottom = Height - FLinesPerSegment * k;
    return {0, bottom - lines, Width, bottom};
}

uint8_t* TVX8ImageData::StartLine(int32_t x, int32_t y)
{
    if (!Inside(x, y))
        throw VX8Exception("StartLine: co-ordinates outside drawing area");
    const int32_t f = Height - 1 - y;
    const std::size_t k = static_cast<std::size_t>(f / FLinesPerSegment);
    const std::size_t offset = static_cast<std::size_t>(f % FLinesPerSegment) * LineBytes;
    uint8_t* base = nullptr;
    try {
        if (k < Segments.size())
            base = Segments[k]->Lock();
    } catch (const std::exception&) {
        base = nullptr;
    }
    // A segment shorter than its rows (never made by the library) must not be addressed.
    if (base == nullptr || Segments[k]->Size() < offset + LineBytes)
        throw VX8Exception("StartLine: Lock failed");
    return base + offset + x;
}

uint8_t* TVX8ImageData::NextStartLine(uint8_t* p, int32_t x, int32_t& y)
{
    ++y;
    if (!Inside(x, y))
        throw VX8Exception("NextStartLine: co-ordinates outside drawing area");
    if (SegmentOfRow(y) == SegmentOfRow(y - 1))
        return p - LineBytes;
    UnlockSegment(x, y - 1);
    return StartLine(x, y);
}

uint8_t* TVX8ImageData::PrevStartLine(uint8_t* p, int32_t x, int32_t& y)
{
    --y;
    if (!Inside(x, y))
        throw VX8Exception("PrevStartLine: co-ordinates outside drawing area");
    if (SegmentOfRow(y) == SegmentOfRow(y + 1))
        return p + LineBytes;
    UnlockSegment(x, y + 1);
    return StartLine(x, y);
}

void TVX8ImageData::UnlockSegment(int32_t x, int32_t y)
{
    if (!Inside(x, y))
        throw VX8Exception("UnlockSegment: co-ordinates outside drawing area");
    const auto k = static_cast<std::size_t>(SegmentOfRow(y));
    if (k < Segments.size())
        Segments[k]->Unlock();
}

void TVX8ImageData::AddDamage(TRect r)
{
    ClipToBounds(r);
    Damage.AddRect(r);
}
