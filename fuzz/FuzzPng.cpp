// Feeds arbitrary bytes to pack's PNG import: decode them as a PNG whose size a library image
// can hold and map a picture that is not indexed onto a small palette, with and without
// dithering. Every failure must be one of the program's own exceptions; anything else is a
// finding.
#include "PaletteMapping.h"
#include "PngFile.h"

#include "codec/VX8ImageSegment.h"
#include "common/KelException.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const TTargetPalette palette {
        {{0, 0, 0}, {255, 255, 255}, {200, 0, 0}, {0, 180, 0}, {0, 0, 160}, {255, 0, 255}}, 5};
    try {
        const TPngPicture png = DecodePng({data, size}, "fuzz", [](uint32_t width, uint32_t height) {
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
