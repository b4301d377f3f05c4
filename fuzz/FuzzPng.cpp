// Feeds arbitrary bytes to pack's PNG import: decode them as a PNG whose size a library image
// can hold and map a picture that is not indexed onto a small palette, with and without
// dithering. Every failure must be one of the program's own exceptions; anything else is a
// finding. The chunks' checksums are set right first, or nearly every mutation would stop at
// the first checksum test.
#include "PaletteMapping.h"
#include "PngFile.h"

#include "codec/VX8ImageSegment.h"
#include "common/KelException.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const TTargetPalette palette {
        {{0, 0, 0}, {255, 255, 255}, {200, 0, 0}, {0, 180, 0}, {0, 0, 160}, {255, 0, 255}}, 5};
    try {
        const std::vector<uint8_t> bytes = WithChecksums(data, size);
        const TPngPicture png = DecodePng(bytes, "fuzz", [](uint32_t width, uint32_t height) {
            if (width > TVX8ImageSegment::MaxWidth || height > UINT16_MAX
                || !TVX8ImageSegment::GeometryFits(
                    static_cast<uint16_t>(width), static_cast<uint16_t>(height)))
                throw KelException("too large");
        });
        const std::size_t pixels = std::size_t {png.Picture.Width} * png.Picture.Height;
        if (png.Indexed ? png.Picture.Pixels.size() != pixels : png.Rgba.size() != 4 * pixels)
            std::abort();
        if (!png.Indexed) {
            bool transparent = false;
            const bool dither = size % 2 == 0;
            const std::vector<uint8_t> indices
                = MapToPalette(png.Rgba, png.Picture.Width, palette, dither, transparent);
            if (indices.size() != pixels)
                std::abort();
            for (uint8_t index : indices)
                if (index >= palette.Colours.size())
                    std::abort();
        }
    } catch (const KelException&) {
    }
    return 0;
}
