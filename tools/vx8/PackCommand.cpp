#include "Commands.h"
#include "PngFile.h"

#include "codec/VX8ImageSegment.h"
#include "common/KelException.h"
#include "common/KelStd.h"
#include "encoder/VX8Encoder.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>

namespace {

struct TPackedImage {
    std::string Path;
    TIndexedPicture Picture;
    TVX8SourceImage Image;
    TVX8EncodedRecord Record;
};

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

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

TPackedImage LoadImage(const std::string& path)
{
    TPackedImage packed;
    packed.Path = path;
    packed.Picture = ReadIndexedPng(
        path, [&](uint32_t width, uint32_t height) { CheckImageSize(path, width, height); });
    TVX8SourceImage& image = packed.Image;
    image.Name = std::filesystem::path(path).stem().string().substr(0, 8);
    image.Width = static_cast<uint16_t>(packed.Picture.Width);
    image.Height = static_cast<uint16_t>(packed.Picture.Height);
    image.Pixels = packed.Picture.Pixels;
    SetTransparency(packed.Picture, path, image);
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

void PrintStats(const std::vector<TPackedImage>& images, size_t fileSize, std::ostream& out)
{
    char line[160];
    std::snprintf(line, sizeof line, "%-8s  %13s  %9s  %9s  %7s  %s\n", "image", "size",
        "vx8 bytes", "png bytes", "vx8/png", "segments");
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
        std::snprintf(line, sizeof line, "%-8s  %13s  %9zu  %9zu  %7s  %s\n",
            packed.Image.Name.c_str(), size.c_str(), stored, png, Ratio(stored, png).c_str(),
            CodingSummary(packed.Record).c_str());
        out << line;
    }
    std::snprintf(line, sizeof line, "%-8s  %13s  %9zu  %9zu  %7s  %zu images, file %zu bytes\n",
        "total", "", storedTotal, pngTotal, Ratio(storedTotal, pngTotal).c_str(), images.size(),
        fileSize);
    out << line;
}

} // namespace

int RunPack(const std::vector<std::string>& args, std::ostream& out)
{
    bool stats = args.front() == "--stats";
    auto first = args.begin() + (stats ? 1 : 0);
    const std::string& outPath = *first;
    std::vector<TPackedImage> images;
    std::vector<TVX8EncodedRecord> records;
    std::map<std::string, std::string> pathOfName;
    TColours colours;
    for (auto it = first + 1; it != args.end(); ++it) {
        TPackedImage packed = LoadImage(*it);
        auto [known, added] = pathOfName.emplace(LowerShortName(packed.Image.Name), packed.Path);
        if (!added) {
            throw KelException("pack: " + Quoted(known->second) + " and " + Quoted(packed.Path)
                + " give the same image name \"" + known->first + "\"");
        }
        MergePalette(colours, images.empty() ? packed.Path : images.front().Path,
            packed.Picture.Palette, packed.Path);
        try {
            packed.Record = EncodeImageRecord(packed.Image);
        } catch (const KelException& e) {
            throw KelException("pack: " + Quoted(packed.Path) + ": " + e.what());
        }
        records.push_back(packed.Record);
        images.push_back(std::move(packed));
    }
    std::vector<uint8_t> bytes = AssembleLibrary(LibraryPalette(colours), records);
    WriteLibraryBytes(outPath, bytes);
    if (stats) {
        PrintStats(images, bytes.size(), out);
    }
    return 0;
}
