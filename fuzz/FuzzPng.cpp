// Feeds arbitrary bytes to pack's PNG import: read them as the palette of --palette, decode
// them as a PNG whose size a library image can hold, take an indexed picture's transparent index
// and map any other picture onto a small palette, with and without dithering. Every failure
// must be one of the program's own exceptions; anything else is a finding. The chunks' checksums
// are set right first, or nearly every mutation would stop at the first checksum test.
#include "PaletteMapping.h"
#include "PngFile.h"

#include "codec/VX8ImageSegment.h"
#include "common/KelException.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

uint32_t Crc32(const uint8_t* data, std::size_t size)
{
    uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// Walks the chunks after the signature and writes each one's checksum.
std::vector<uint8_t> WithChecksums(const uint8_t* data, std::size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    std::size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const uint32_t length = (uint32_t {bytes[at]} << 24) | (uint32_t {bytes[at + 1]} << 16)
            | (uint32_t {bytes[at + 2]} << 8) | bytes[at + 3];
        if (length > bytes.size() - at - 12)
            break;
        const uint32_t crc = Crc32(&bytes[at + 4], length + 4);
        const std::size_t end = at + 8 + length;
        for (int i = 0; i < 4; ++i)
            bytes[end + static_cast<std::size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at = end + 4;
    }
    return bytes;
}

// The palette of --palette, read from the chunks alone.
void CheckPaletteRead(const std::vector<uint8_t>& bytes)
{
    try {
        const TIndexedPicture palette = ReadPngPalette(bytes, "fuzz");
        if (palette.Palette.size() > 256 || palette.Alpha.size() > 256 || !palette.Pixels.empty())
            std::abort();
    } catch (const KelException&) {
    }
}

void CheckMapping(const std::vector<uint16_t>& rgba, uint32_t width, bool dither)
{
    const TTargetPalette palette {
        {{0, 0, 0}, {255, 255, 255}, {200, 0, 0}, {0, 180, 0}, {0, 0, 160}, {255, 0, 255}}, 5};
    const TPaletteMapping mapping = MapToPalette(rgba, width, palette, dither);
    if (mapping.Indices.size() != rgba.size() / 4)
        std::abort();
    for (std::size_t i = 0; i < mapping.Indices.size(); ++i) {
        const bool clear = IsClearAlpha(rgba[4 * i + 3]);
        if (mapping.Indices[i] >= palette.Colours.size() || (mapping.Indices[i] == 5) != clear)
            std::abort();
    }
    if (!std::isfinite(mapping.MeanDeltaE) || mapping.MeanDeltaE < 0
        || mapping.MeanDeltaE > mapping.MaxDeltaE + 1e-9)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::vector<uint8_t> bytes = WithChecksums(data, size);
    CheckPaletteRead(bytes);
    try {
        const TPngPicture png = DecodePng(bytes, "fuzz", [](uint32_t width, uint32_t height) {
            if (width > TVX8ImageSegment::MaxWidth || height > UINT16_MAX
                || !TVX8ImageSegment::GeometryFits(
                    static_cast<uint16_t>(width), static_cast<uint16_t>(height)))
                throw KelException("too large");
        });
        const std::size_t pixels = std::size_t {png.Picture.Width} * png.Picture.Height;
        if (png.Indexed ? png.Picture.Pixels.size() != pixels : png.Rgba.size() != 4 * pixels)
            std::abort();
        const bool dither = size % 2 == 0;
        if (!png.Indexed) {
            CheckMapping(png.Rgba, png.Picture.Width, dither);
            return 0;
        }
        for (uint8_t index : png.Picture.Pixels)
            if (index >= png.Picture.Palette.size())
                std::abort();
        // An indexed picture of another palette is mapped through its colours.
        std::vector<uint16_t> rgba;
        for (uint8_t index : png.Picture.Pixels) {
            const TRgb colour = png.Picture.Palette[index];
            const uint8_t alpha = index < png.Picture.Alpha.size() ? png.Picture.Alpha[index] : 255;
            for (uint8_t sample : {colour[0], colour[1], colour[2], alpha})
                rgba.push_back(static_cast<uint16_t>(sample * 257));
        }
        CheckMapping(rgba, png.Picture.Width, dither);
        const std::optional<uint8_t> key = TransparentIndexOf(png.Picture, "fuzz");
        if (key && (*key >= png.Picture.Alpha.size() || png.Picture.Alpha[*key] != 0))
            std::abort();
    } catch (const KelException&) {
    }
    return 0;
}
