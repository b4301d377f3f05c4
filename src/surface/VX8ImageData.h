#pragma once

#include "codec/VX8ImageSegment.h"
#include "common/KelRect.h"
#include "raster/DeviceContext.h"
#include "surface/DamageList.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>

// Co-ordinate sums are taken in 64 bits and brought back into range, so that extreme points clip
// away instead of wrapping round.
inline int32_t ClampToInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

using TVX8SegmentArray = std::span<const std::unique_ptr<TVX8ImageSegment>>;

// A palette-indexed drawing surface over the segments of one image, which keeps owning them.
// Rows are stored bottom-up: segment 0 holds the bottom rows. Pixels are reached through line
// pointers; every drawing operation records its clipped rectangle in Damage.
class TVX8ImageData {
public:
    TVX8ImageData() = default;
    TVX8ImageData(const TVX8ImageData&) = delete;
    TVX8ImageData& operator=(const TVX8ImageData&) = delete;

    // Raises when the segments do not follow the geometry of a width x height image.
    void Setup(uint16_t width, uint16_t height, TVX8SegmentArray segments, uint8_t transparentIndex,
        bool transparent, TBitmapInfo* pbmInfo);

    TRect Bounds() const { return {0, 0, Width, Height}; }
    void ClipToBounds(TRect& r) const;
    void ClipToClipRect(TRect& r) const;
    int TransparentKey() const { return Transparent ? TransparentIndex : -1; }
    TRect SegmentRect(int k) const;

    // Address of pixel (x, y); the segment holding row y stays locked.
    uint8_t* StartLine(int32_t x, int32_t y);
    // Advances y, then returns the address of the same column one row down.
    uint8_t* NextStartLine(uint8_t* p, int32_t x, int32_t& y);
    void UnlockSegment(int32_t x, int32_t y);

    void FillRect(TRect r, uint8_t colour);
    void HorzLine(TPoint p, int32_t length, uint8_t colour);
    void VertLine(TPoint p, int32_t length, uint8_t colour);
    // Copies sourceRect of source so that its top-left lands at p, skipping source pixels equal
    // to the source's transparency key. The source may be this surface, overlapping in any
    // direction.
    void Draw(TPoint p, TVX8ImageData& source, TRect sourceRect);

    void AddDamage(TRect r);
    void EndDraw(const TRect& r) { AddDamage(r); }
    void ClearDamage() { Damage.Clear(); }

    // Transfers rectangle r of the surface to dc with its top-left at p, one segment at a time;
    // the caller has selected the library's palette. Returns the sum of the rows transferred.
    int Display(TDeviceContext& dc, TPoint p, const TRect& r);
    // Displays every damaged rectangle at origin + its top-left, then empties Damage.
    void FlushDamage(TDeviceContext& dc, TPoint origin);

    TVX8SegmentArray Segments;
    uint8_t SegmentCount = 0;
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint16_t LineBytes = 0;
    uint8_t TransparentIndex = 0;
    bool Transparent = false;
    TDamageList Damage;
    TBitmapInfo* PBMInfo = nullptr;
    TRect ClipRect;

private:
    uint16_t FLinesPerSegment = 0;

    // Decreases y, then returns the address of the same column one row up.
    uint8_t* PrevStartLine(uint8_t* p, int32_t x, int32_t& y);

    int SegmentOfRow(int32_t y) const { return (Height - 1 - y) / FLinesPerSegment; }
    bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};
