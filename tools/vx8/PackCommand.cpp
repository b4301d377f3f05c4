#include "Commands.h"
#include "PackInputs.h"
#include "PngFile.h"

#include "codec/VX8ImageSegment.h"
#include "common/KelException.h"
#include "common/KelStd.h"
#include "encoder/VX8Encoder.h"

#include <array>
#include <cstdio>
#include <map>
#include <optional>

namespace {

struct TPackedImage {
    std::string Path;
    TIndexedPicture Picture;
    TVX8SourceImage Image;
    TVX8EncodedRecord Record;
};

using TColours = std::vector<std::array<uint8_t, 3>>;

// The palette in the library's order (blue, green, red, 0), padded with black.
TVX8Palette LibraryPalette(const TColours& colours)
{
    TVX8Palette palette {};
    for (size_t i = 0; i < colours.size(); ++i) {
        palette[4 * i] = colours[i][2];
        palette[4 * i + 1] = colours[i][1];
        palette[4 * i + 2] = colours[i][0];
    }
    return palette;
}

std::string ColourText(const std::array<uint8_t, 3>& colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour[0], colour[1], colour[2]);
    return text;
}

// Every entry that both palettes define must be the same colour. PNG writers drop unused
// entries from the end, so a shorter palette is no difference in itself; the shared palette
// keeps the longest one.
void MergePalette(TColours& shared, const std::string& firstPath, const TColours& colours,
    const std::string& path)
{
    size_t common = std::min(shared.size(), colours.size());
    for (size_t i = 0; i < common; ++i) {
        if (shared[i] != colours[i]) {
            throw KelException("pack: " + Quoted(path) + " has a different palette from "
                + Quoted(firstPath) + ": entry " + std::to_string(i) + " is "
                + ColourText(colours[i]) + ", not " + ColourText(shared[i]));
        }
    }
    if (colours.size() > shared.size()) {
        shared.insert(
            shared.end(), colours.begin() + static_cast<ptrdiff_t>(common), colours.end());
    }
}

// The tRNS chunk gives the transparent index: only fully transparent entries can be stored,
// and an image can show only one of them.
void SetTransparency(
    const TIndexedPicture& picture, const std::string& path, TVX8SourceImage& image)
{
    std::array<bool, 256> used {};
    for (uint8_t v : picture.Pixels) {
        used[v] = true;
    }
    std::vector<size_t> clear;
    std::vector<size_t> clearUsed;
    for (size_t i = 0; i < picture.Alpha.size(); ++i) {
        uint8_t alpha = picture.Alpha[i];
        if (alpha == 0) {
            clear.push_back(i);
            if (used[i]) {
                clearUsed.push_back(i);
            }
        } else if (alpha != 255 && used[i]) {
            throw KelException("pack: " + Quoted(path) + " uses palette entry " + std::to_string(i)
                + ", which is partly transparent (alpha " + std::to_string(alpha)
                + "); only fully transparent entries " + "can be stored");
        }
    }
    if (clearUsed.size() > 1) {
        throw KelException("pack: " + Quoted(path) + " uses the fully transparent palette entries "
            + std::to_string(clearUsed[0]) + " and " + std::to_string(clearUsed[1])
            + "; an image can have only one transparent index");
    }
    if (!clear.empty()) {
        image.Transparent = true;
        image.TransparentIndex = static_cast<uint8_t>(clearUsed.empty() ? clear[0] : clearUsed[0]);
    }
}

// Checked from the PNG header, before any pixel is read: the rows must fit the segments of a
// library image.
void CheckImageSize(const std::string& path, uint32_t width, uint32_t height)
{
    if (width > TVX8ImageSegment::MaxWidth || height > UINT16_MAX
        || !TVX8ImageSegment::GeometryFits(
            static_cast<uint16_t>(width), static_cast<uint16_t>(height))) {
        throw KelException("pack: " + Quoted(path) + " is " + std::to_string(width) + " x "
            + std::to_string(height)
            + " pixels, too large for a library image (at most 65,280 pixels a row, and all "
              "rows in 255 segments of 65,280 bytes)");
    }
}

// The indexed picture's colours as 16-bit RGBA, alpha from its tRNS entries.
std::vector<uint16_t> IndexedToRgba(const TIndexedPicture& picture)
{
    std::vector<uint16_t> rgba;
    rgba.reserve(picture.Pixels.size() * 4);
    for (uint8_t v : picture.Pixels) {
        const TRgb colour = v < picture.Palette.size() ? picture.Palette[v] : TRgb {};
        const uint8_t alpha = v < picture.Alpha.size() ? picture.Alpha[v] : 255;
        for (uint8_t sample : {colour[0], colour[1], colour[2], alpha})
            rgba.push_back(static_cast<uint16_t>(sample * 257));
    }
    return rgba;
}

bool UsesPalette(const TIndexedPicture& picture, const TTargetPalette& target)
{
    for (std::size_t i = 0; i < picture.Palette.size(); ++i)
        if (i >= target.Colours.size() || picture.Palette[i] != target.Colours[i])
            return false;
    return true;
}

// Maps a picture onto the target palette; the picture then holds the palette and the indices.
void MapImage(TPackedImage& packed, const TPngPicture& png, const TPaletteSource& source,
    const TPackOptions& options)
{
    const std::vector<uint16_t> rgba = png.Indexed ? IndexedToRgba(png.Picture) : png.Rgba;
    bool transparent = false;
    for (std::size_t i = 3; i < rgba.size() && source.Target.TransparentIndex < 0; i += 4) {
        if (IsClearAlpha(rgba[i])) {
            throw KelException("pack: " + Quoted(packed.Path)
                + " has transparent pixels, but the palette of " + Quoted(options.PalettePath)
                + " has no transparent index");
        }
    }
    packed.Picture.Pixels
        = MapToPalette(rgba, png.Picture.Width, source.Target, options.Dither, transparent);
    packed.Picture.Palette = source.Target.Colours;
    packed.Picture.Alpha.clear();
    packed.Image.Transparent = transparent;
    packed.Image.TransparentIndex
        = transparent ? static_cast<uint8_t>(source.Target.TransparentIndex) : 0;
}

TPackedImage LoadImage(
    const TPackInput& input, const TPaletteSource* source, const TPackOptions& options)
{
    constexpr std::size_t MaxPngSize = std::size_t {256} << 20;
    TPackedImage packed;
    packed.Path = input.Path;
    const TPngPicture png = DecodePng(ReadFileBytes(input.Path, MaxPngSize), input.Path,
        [&](uint32_t width, uint32_t height) { CheckImageSize(input.Path, width, height); });
    packed.Picture = png.Picture;
    TVX8SourceImage& image = packed.Image;
    image.Name = input.Name;
    image.Width = static_cast<uint16_t>(png.Picture.Width);
    image.Height = static_cast<uint16_t>(png.Picture.Height);
    if (png.Indexed && (source == nullptr || UsesPalette(png.Picture, source->Target))) {
        SetTransparency(packed.Picture, input.Path, image);
    } else if (source == nullptr) {
        throw KelException("pack: " + Quoted(input.Path) + " is " + png.Kind
            + "; a library holds indexed pictures of one palette, so give the palette to map it "
              "onto with --palette LIBRARY.vx8 (or an indexed PNG)");
    } else {
        MapImage(packed, png, *source, options);
    }
    image.Pixels = packed.Picture.Pixels;
    return packed;
}

std::string CodingSummary(const TVX8EncodedRecord& record)
{
    static const char* const names[] = {"plain", "raw", "runs", "lines"};
    std::map<int, int> counts;
    for (const TVX8EncodedSegment& segment : record.Segments) {
        ++counts[static_cast<int>(segment.Coding)];
    }
    std::string text;
    for (auto [coding, count] : counts) {
        text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + names[coding];
    }
    return text;
}

std::string Ratio(size_t stored, size_t png)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", png == 0 ? 0.0 : double(stored) / double(png));
    return text;
}

// The smallest record that one coding alone gives, beside the mix of codings pack chooses.
std::string BestSingleCoding(const TVX8SourceImage& image)
{
    static const char* const names[] = {"plain", "raw", "runs", "lines"};
    std::size_t best = SIZE_MAX;
    int bestCoding = 0;
    for (int coding = 0; coding < 4; ++coding) {
        const std::size_t size
            = EncodeImageRecord(image, static_cast<TVX8Coding>(coding)).Bytes.size();
        if (size < best) {
            best = size;
            bestCoding = coding;
        }
    }
    return std::to_string(best) + " " + names[bestCoding];
}

void PrintStats(const std::vector<TPackedImage>& images, size_t fileSize, std::ostream& out)
{
    char line[200];
    std::snprintf(line, sizeof line, "%-8s  %13s  %9s  %-13s  %9s  %7s  %s\n", "image", "size",
        "vx8 bytes", "one coding", "png bytes", "vx8/png", "segments");
    out << line;
    size_t storedTotal = 0;
    size_t pngTotal = 0;
    for (const TPackedImage& packed : images) {
        size_t stored = packed.Record.Bytes.size();
        size_t png = EncodeIndexedPng(packed.Picture, 9).size();
        storedTotal += stored;
        pngTotal += png;
        std::string size
            = std::to_string(packed.Image.Width) + " x " + std::to_string(packed.Image.Height);
        std::snprintf(line, sizeof line, "%-8s  %13s  %9zu  %-13s  %9zu  %7s  %s\n",
            packed.Image.Name.c_str(), size.c_str(), stored, BestSingleCoding(packed.Image).c_str(),
            png, Ratio(stored, png).c_str(), CodingSummary(packed.Record).c_str());
        out << line;
    }
    std::snprintf(line, sizeof line,
        "%-8s  %13s  %9zu  %-13s  %9zu  %7s  %zu images, file %zu bytes\n", "total", "",
        storedTotal, "", pngTotal, Ratio(storedTotal, pngTotal).c_str(), images.size(), fileSize);
    out << line;
}

} // namespace

int RunPack(const std::vector<std::string>& args, std::ostream& out)
{
    const TPackOptions options = ParsePackArguments(args);
    std::optional<TPaletteSource> source;
    if (!options.PalettePath.empty())
        source = LoadPaletteSource(options.PalettePath);
    std::vector<TPackedImage> images;
    std::vector<TVX8EncodedRecord> records;
    TColours colours;
    for (const TPackInput& input : options.Inputs) {
        TPackedImage packed = LoadImage(input, source ? &*source : nullptr, options);
        if (!source) {
            MergePalette(colours, images.empty() ? packed.Path : images.front().Path,
                packed.Picture.Palette, packed.Path);
        }
        try {
            packed.Record = EncodeImageRecord(packed.Image);
        } catch (const KelException& e) {
            throw KelException("pack: " + Quoted(packed.Path) + ": " + e.what());
        }
        records.push_back(packed.Record);
        images.push_back(std::move(packed));
    }
    std::vector<uint8_t> bytes
        = AssembleLibrary(source ? source->FileBytes : LibraryPalette(colours), records);
    WriteLibraryBytes(options.OutPath, bytes);
    if (options.Stats)
        PrintStats(images, bytes.size(), out);
    return 0;
}
