#pragma once

#include "surface/VX8ImageData.h"

#include <memory>
#include <vector>

inline std::vector<TRect> DamageRects(const TDamageList& list)
{
    std::vector<TRect> rects;
    for (TKelNode* n = list.Next(nullptr); n != nullptr; n = list.Next(n))
        rects.push_back(static_cast<TDamageNode*>(n)->Rect);
    return rects;
}

// A surface over zero-filled segments made by the segment geometry, as a blank image has them.
class TTestSurface {
public:
    TTestSurface(uint16_t width, uint16_t height, TBitmapInfo* pbmInfo = nullptr)
    {
        const uint16_t count = TVX8ImageSegment::SegmentCount(width, height);
        for (uint16_t k = 0; k < count; ++k) {
            Segments.push_back(
                std::make_unique<TVX8ImageSegment>(nullptr, static_cast<uint8_t>(k)));
            Segments.back()->Allocate(TVX8ImageSegment::SegmentBytes(width, height, k),
                TVX8ImageSegment::TAllocation::ZeroFilled);
        }
        Data.Setup(width, height, Segments, 0, false, pbmInfo);
    }

    // Fills image row y with the value y (mod 256).
    void NumberRows()
    {
        for (int32_t y = 0; y < Data.Height; ++y)
            Data.HorzLine({0, y}, Data.Width, static_cast<uint8_t>(y));
        Data.ClearDamage();
    }

    uint8_t Pixel(int32_t x, int32_t y) { return *Data.StartLine(x, y); }

    // Every pixel, row by row from the top.
    std::vector<uint8_t> Pixels()
    {
        std::vector<uint8_t> pixels;
        for (int32_t y = 0; y < Data.Height; ++y)
            for (int32_t x = 0; x < Data.Width; ++x)
                pixels.push_back(Pixel(x, y));
        return pixels;
    }

    std::vector<std::unique_ptr<TVX8ImageSegment>> Segments;
    TVX8ImageData Data;
};
