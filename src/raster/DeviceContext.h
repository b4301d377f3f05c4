#pragma once

#include "common/KelRect.h"
#include "raster/DisplayPalette.h"
#include "raster/DrawingTools.h"

#include <cstdint>
#include <span>
#include <vector>

// Header of an uncompressed device-independent bitmap (40 bytes, the platform's layout).
struct TBitmapInfoHeader {
    uint32_t Size = 0;
    int32_t Width = 0;
    int32_t Height = 0; // positive: rows are stored bottom-up
    uint16_t Planes = 0;
    uint16_t BitCount = 0;
    uint32_t Compression = 0;
    uint32_t SizeImage = 0;
    int32_t XPelsPerMeter = 0;
    int32_t YPelsPerMeter = 0;
    uint32_t ClrUsed = 0;
    uint32_t ClrImportant = 0;
};
static_assert(sizeof(TBitmapInfoHeader) == 40);

// An 8-bit bitmap header whose colour table holds indices into the selected palette.
struct TBitmapInfo {
    TBitmapInfoHeader Header;
    uint16_t Colors[256] = {};
};
static_assert(sizeof(TBitmapInfo) == 552);

// 32-bit target pixels owned by the buffer, rows top-down; for tests and off-screen drawing.
class TPixelBuffer {
public:
    TPixelBuffer(int32_t width, int32_t height, TColour fill = 0);

    int32_t Width() const { return BufferWidth; }
    int32_t Height() const { return BufferHeight; }
    int32_t StrideBytes() const { return BufferWidth * 4; }
    uint32_t* Pixels() { return Data.data(); }
    TColour Pixel(int32_t x, int32_t y) const;

private:
    int32_t BufferWidth;
    int32_t BufferHeight;
    std::vector<uint32_t> Data;
};

// Pixels that a device context draws on, rows top-down.
struct TPixelTarget {
    uint32_t* Pixels = nullptr;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t StrideBytes = 0;
};

// Drawing onto 32-bit pixels (0x00RRGGBB, rows top-down with a stride in bytes) that the device
// context does not own. Logical point p lands on target pixel p + Origin; drawing is limited to
// the clip box and the target.
class TDeviceContext {
public:
    TDeviceContext(uint32_t* pixels, int32_t width, int32_t height, int32_t strideBytes);
    explicit TDeviceContext(TPixelBuffer& buffer);

    TPoint Origin() const { return DeviceOrigin; }
    void SetOrigin(TPoint origin) { DeviceOrigin = origin; }
    // The clip box in logical co-ordinates: the clip rectangle within the target.
    TRect ClipBox() const;
    // Limits drawing to r (logical co-ordinates at the current origin) within the repaint area.
    void SetClipBox(const TRect& r);
    // The area the window is repainting (logical co-ordinates at the current origin): drawing
    // never leaves it, whatever clipping is selected or removed later.
    void SetRepaintArea(const TRect& r);
    // Drops the clipping selected with SetClipBox: drawing is then limited by the repaint area.
    void RemoveClipRegion();

    // Selects palette (none selects the default one) and returns the one selected before.
    const TDisplayPalette* SelectPalette(const TDisplayPalette* palette, bool forceBackground);
    // Number of system palette entries changed: always 0, the displays are not palettised.
    int RealizePalette() const { return 0; }

    // Copies a w x h block of an 8-bit bottom-up bitmap to logical (x, y), unscaled. Source
    // (srcX, srcY) is counted from the bitmap's bottom-left corner. Each pixel index goes through
    // the header's colour table to a palette index and through the selected palette to a colour,
    // which replaces the target pixel. Returns the number of rows written; 0 when the header or
    // the bits do not describe an 8-bit bottom-up bitmap of that size.
    int TransferDIBits(int32_t x, int32_t y, int32_t w, int32_t h, int32_t srcX, int32_t srcY,
        std::span<const uint8_t> bits, const TBitmapInfo& info);

    // Fills r with the brush: a solid colour, nothing for a clear brush, or only the hatch lines.
    void FillRect(const TRect& r, const TBrush& brush);

    // For drawing that another library does on the same pixels (the window layer's text): the
    // target, r in target pixels, and the part of r that drawing may touch, in target pixels.
    TPixelTarget PixelTarget() const { return {Target, TargetWidth, TargetHeight, TargetStride}; }
    TRect ToDevice(const TRect& r) const;
    TRect DeviceClipOf(const TRect& r) const;

private:
    uint32_t* Target;
    int32_t TargetWidth;
    int32_t TargetHeight;
    int32_t TargetStride;
    TPoint DeviceOrigin;
    TRect DeviceClip;
    TRect RepaintArea;
    TRect ApplicationClip;
    const TDisplayPalette* Palette;

    void UpdateClip();
};
