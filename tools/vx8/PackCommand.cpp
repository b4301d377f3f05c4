#include "Commands.h"
#include "PackInputs.h"
#include "PngFile.h"

#include "codec/VX8ImageSegment.h"
#include "common/KelException.h"
#include "common/KelStd.h"
#include "encoder/VX8Encoder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>

namespace {

struct TPackedImage {
    std::string Path;
    TIndexedPicture Picture;
    TVX8SourceImage Image;
    TVX8EncodedRecord Record;
    std::optional<TPaletteMapping> Mapping; // the figures of a picture mapped onto --palette
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

std::string DeltaEText(double deltaE)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", deltaE);
    return text;
}

// Maps a picture onto the target palette; the picture then holds the palette and the indices.
void MapImage(TPackedImage& packed, const TPngPicture& png, const TPaletteSource& source,
    const TPackOptions& options)
{
    const std::vector<uint16_t> rgba = png.Indexed ? IndexedToRgba(png.Picture) : png.Rgba;
    for (std::size_t i = 3; i < rgba.size() && source.Target.TransparentIndex < 0; i += 4) {
        if (IsClearAlpha(rgba[i])) {
            throw KelException("pack: " + Quoted(packed.Path)
                + " has transparent pixels, but the palette of " + Quoted(options.PalettePath)
                + " has no transparent index");
        }
    }
    TPaletteMapping mapping = MapToPalette(rgba, png.Picture.Width, source.Target, options.Dither);
    packed.Picture.Pixels = std::move(mapping.Indices);
    packed.Picture.Palette = source.Target.Colours;
    packed.Picture.Alpha.clear();
    packed.Image.Transparent = mapping.Transparent;
    packed.Image.TransparentIndex
        = mapping.Transparent ? static_cast<uint8_t>(source.Target.TransparentIndex) : 0;
    if (mapping.MeanDeltaE > NoticeableDeltaE) {
        std::cerr << "vx8: warning: pack: image " << Quoted(packed.Image.Name) << " of "
                  << Quoted(packed.Path) << " strays from the palette of "
                  << Quoted(options.PalettePath) << " by Delta E " << DeltaEText(mapping.MeanDeltaE)
                  << " on average (at most " << DeltaEText(mapping.MaxDeltaE)
                  << "); the palette lacks its colours\n";
    }
    packed.Mapping = mapping;
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
        const std::optional<uint8_t> key = TransparentIndexOf(packed.Picture, input.Path);
        image.Transparent = key.has_value();
        image.TransparentIndex = key.value_or(0);
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

// How far each picture mapped onto the palette of --palette moved from its own colours.
void PrintMappingStats(const std::vector<TPackedImage>& images, std::ostream& out)
{
    char line[200];
    std::snprintf(
        line, sizeof line, "%-8s  %12s  %15s\n", "mapped", "mean Delta E", "largest Delta E");
    out << line;
    for (const TPackedImage& packed : images) {
        if (!packed.Mapping)
            continue;
        std::snprintf(line, sizeof line, "%-8s  %12s  %15s\n", packed.Image.Name.c_str(),
            DeltaEText(packed.Mapping->MeanDeltaE).c_str(),
            DeltaEText(packed.Mapping->MaxDeltaE).c_str());
        out << line;
    }
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
    if (options.Stats && std::any_of(images.begin(), images.end(), [](const auto& i) {
            return i.Mapping.has_value();
        }))
        PrintMappingStats(images, out);
    return 0;
}
