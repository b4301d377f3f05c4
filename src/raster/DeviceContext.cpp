#include "raster/DeviceContext.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

constexpr int64_t BitmapStride(int64_t width)
{
    return ((width * 8 + 31) / 32) * 4;
}

} // namespace

TPixelBuffer::TPixelBuffer(int32_t width, int32_t height, TColour fill)
    : BufferWidth(std::max(width, 0))
    , BufferHeight(std::max(height, 0))
    , Data(static_cast<std::size_t>(BufferWidth) * static_cast<std::size_t>(BufferHeight), fill)
{
}

TColour TPixelBuffer::Pixel(int32_t x, int32_t y) const
{
    return Data.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(BufferWidth)
        + static_cast<std::size_t>(x));
}

TDeviceContext::TDeviceContext(uint32_t* pixels, int32_t width, int32_t height, int32_t strideBytes)
    : Target(pixels)
    , TargetWidth(std::max(width, 0))
    , TargetHeight(std::max(height, 0))
    , TargetStride(strideBytes)
    , DeviceOrigin {}
    , DeviceClip {0, 0, TargetWidth, TargetHeight}
    , RepaintArea {DeviceClip}
    , ApplicationClip {DeviceClip}
    , Palette(&TDisplayPalette::Default())
{
}

TDeviceContext::TDeviceContext(TPixelBuffer& buffer)
    : TDeviceContext(buffer.Pixels(), buffer.Width(), buffer.Height(), buffer.StrideBytes())
{
}

TRect TDeviceContext::ClipBox() const
{
    TRect visible;
    IntersectRect(visible, DeviceClip, {0, 0, TargetWidth, TargetHeight});
    if (IsRectEmpty(visible))
        return {};
    return {visible.Left - DeviceOrigin.X, visible.Top - DeviceOrigin.Y,
        visible.Right - DeviceOrigin.X, visible.Bottom - DeviceOrigin.Y};
}

TRect TDeviceContext::ToDevice(const TRect& r) const
{
    const auto shift = [](int64_t v, int64_t by) {
        return static_cast<int32_t>(std::clamp<int64_t>(v + by, INT32_MIN, INT32_MAX));
    };
    return {shift(r.Left, DeviceOrigin.X), shift(r.Top, DeviceOrigin.Y),
        shift(r.Right, DeviceOrigin.X), shift(r.Bottom, DeviceOrigin.Y)};
}

TRect TDeviceContext::DeviceClipOf(const TRect& r) const
{
    TRect area;
    if (!IntersectRect(area, ToDevice(r), DeviceClip)
        || !IntersectRect(area, area, {0, 0, TargetWidth, TargetHeight}))
        return {};
    return area;
}

void TDeviceContext::UpdateClip()
{
    IntersectRect(DeviceClip, ApplicationClip, RepaintArea);
}

void TDeviceContext::SetClipBox(const TRect& r)
{
    ApplicationClip = ToDevice(r);
    UpdateClip();
}

void TDeviceContext::SetRepaintArea(const TRect& r)
{
    RepaintArea = ToDevice(r);
    UpdateClip();
}

void TDeviceContext::RemoveClipRegion()
{
    ApplicationClip = RepaintArea;
    UpdateClip();
}

void TDeviceContext::FillRect(const TRect& r, const TBrush& brush)
{
    if (brush.Style == TBrushStyle::Clear)
        return;
    const TRect area = DeviceClipOf(r);
    auto* targetBytes = reinterpret_cast<uint8_t*>(Target);
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
        auto* row
            = reinterpret_cast<uint32_t*>(targetBytes + static_cast<int64_t>(y) * TargetStride);
        for (int32_t x = area.Left; x < area.Right; ++x) {
            // The hatch pattern is anchored at the target's origin, so that neighbouring fills
            // join without a seam.
            if (brush.Style == TBrushStyle::Solid || ((x + y) & 7) == 0 || ((x - y) & 7) == 0)
                row[x] = brush.Colour;
        }
    }
}

const TDisplayPalette* TDeviceContext::SelectPalette(const TDisplayPalette* palette, bool)
{
    const TDisplayPalette* previous = Palette;
    Palette = palette != nullptr ? palette : &TDisplayPalette::Default();
    return previous;
}

int TDeviceContext::TransferDIBits(int32_t x, int32_t y, int32_t w, int32_t h, int32_t srcX,
    int32_t srcY, std::span<const uint8_t> bits, const TBitmapInfo& info)
{
    const TBitmapInfoHeader& header = info.Header;
    if (header.BitCount != 8 || header.Compression != 0 || header.Width <= 0 || header.Height <= 0
        || w <= 0 || h <= 0)
        return 0;
    const int64_t stride = BitmapStride(header.Width);
    if (static_cast<int64_t>(bits.size()) < stride * header.Height)
        return 0;

    // Block pixel (i, j), j counted down from the block's top row, is bitmap column srcX + i of
    // row srcY + h - 1 - j from the bottom, and lands on target pixel (left + i, top + j). Keep
    // the part that lies in the bitmap, the clip box and the target.
    const int64_t left = int64_t {x} + DeviceOrigin.X;
    const int64_t top = int64_t {y} + DeviceOrigin.Y;
    const int64_t bottomRow = int64_t {srcY} + h - 1;
    const int64_t i0 = std::max({int64_t {0}, -int64_t {srcX}, DeviceClip.Left - left, -left});
    const int64_t i1 = std::min(
        {int64_t {w}, header.Width - int64_t {srcX}, DeviceClip.Right - left, TargetWidth - left});
    const int64_t j0
        = std::max({int64_t {0}, bottomRow + 1 - header.Height, DeviceClip.Top - top, -top});
    const int64_t j1
        = std::min({int64_t {h}, bottomRow + 1, DeviceClip.Bottom - top, TargetHeight - top});
    if (i0 >= i1 || j0 >= j1)
        return 0;

    std::array<TColour, 256> colours;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const uint16_t index = info.Colors[i];
        colours[i] = Palette->ColourOf(index < 256 ? static_cast<uint8_t>(index) : 0);
    }
    auto* targetBytes = reinterpret_cast<uint8_t*>(Target);
    for (int64_t j = j0; j < j1; ++j) {
        const uint8_t* source = bits.data() + (bottomRow - j) * stride + srcX + i0;
        auto* target
            = reinterpret_cast<uint32_t*>(targetBytes + (top + j) * TargetStride) + left + i0;
        for (int64_t i = i0; i < i1; ++i)
            *target++ = colours[*source++];
    }
    return static_cast<int>(j1 - j0);
}
