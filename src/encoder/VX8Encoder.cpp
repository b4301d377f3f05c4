#include "encoder/VX8Encoder.h"

#include "codec/VX8ImageSegment.h"
#include "common/KelException.h"
#include "common/KelFileReplace.h"
#include "common/KelStd.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

constexpr uint32_t SegmentLimit = TVX8ImageSegment::SegmentLimit;
constexpr size_t RecordHeaderSize = 18;
constexpr uint16_t RecordRevision = 3;
constexpr uint8_t StateEncoded = 1;
constexpr uint8_t StatePlainRows = 2;

// The reader's segment geometry; Count is 0 when the image cannot be cut (a size of 0, a row
// above the segment limit, or a size the geometry cannot hold in at most 255 segments).
TVX8SegmentLayout SearchLayout(uint16_t width, uint16_t height)
{
    TVX8SegmentLayout layout;
    if (width == 0 || height == 0 || !TVX8ImageSegment::GeometryFits(width, height))
        return layout;
    layout.Count = TVX8ImageSegment::SegmentCount(width, height);
    layout.Stride = TVX8ImageSegment::RowStride(width);
    layout.Lines = TVX8ImageSegment::SegmentLines(width, height, 0);
    layout.LastLines = TVX8ImageSegment::SegmentLines(width, height, layout.Count - 1);
    return layout;
}

std::string SizeText(uint32_t width, uint32_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

TVX8SegmentLayout CheckedLayout(const TVX8SourceImage& image)
{
    const std::string& name = image.Name;
    if (name.empty() || name.size() > 8) {
        throw KelException("EncodeImage: image name \"" + name + "\" must have 1 to 8 characters");
    }
    if (name.find('\0') != std::string::npos) {
        throw KelException("EncodeImage: image name \"" + std::string(name.c_str())
            + "...\" contains a zero byte");
    }
    if (image.Width == 0 || image.Height == 0) {
        throw KelException("EncodeImage: image \"" + name + "\" is "
            + SizeText(image.Width, image.Height) + "; width and height must be 1 to 65,535");
    }
    if (image.Width > SegmentLimit) {
        throw KelException("EncodeImage: image \"" + name + "\" is " + std::to_string(image.Width)
            + " pixels wide; a row may have at most 65,280");
    }
    size_t expected = size_t {image.Width} * image.Height;
    if (image.Pixels.size() != expected) {
        throw KelException("EncodeImage: image \"" + name + "\" has "
            + std::to_string(image.Pixels.size()) + " pixels; "
            + SizeText(image.Width, image.Height) + " needs " + std::to_string(expected));
    }
    TVX8SegmentLayout layout = SearchLayout(image.Width, image.Height);
    if (layout.Count == 0) {
        throw KelException("EncodeImage: image \"" + name + "\" ("
            + SizeText(image.Width, image.Height) + ") cannot be cut into at most 255 segments");
    }
    return layout;
}

// Segment k's rows as the decoder lays them out: bottom-up, padded with zeros to the stride.
std::vector<uint8_t> SegmentRows(
    const TVX8SourceImage& image, const TVX8SegmentLayout& layout, uint16_t k)
{
    uint16_t lines = layout.LinesOf(k);
    std::vector<uint8_t> rows(size_t {lines} * layout.Stride, 0);
    for (size_t i = 0; i < lines; ++i) {
        size_t y = image.Height - 1 - (size_t {k} * layout.Lines + i);
        auto source = image.Pixels.begin() + static_cast<ptrdiff_t>(y * image.Width);
        std::copy(
            source, source + image.Width, rows.begin() + static_cast<ptrdiff_t>(i * layout.Stride));
    }
    return rows;
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v);
    Put16(out, v >> 16);
}

std::string RecordName(const std::vector<uint8_t>& record)
{
    auto end = std::find(record.begin(), record.begin() + 8, 0);
    return std::string(record.begin(), end);
}

} // namespace

TVX8SegmentLayout VX8SegmentLayout(uint16_t width, uint16_t height)
{
    TVX8SegmentLayout layout = SearchLayout(width, height);
    if (layout.Count == 0) {
        throw KelException("SegmentLayout: a " + SizeText(width, height)
            + " image cannot be cut into 1 to 255 segments");
    }
    return layout;
}

TVX8EncodedRecord EncodeImageRecord(const TVX8SourceImage& image, std::optional<TVX8Coding> coding)
{
    TVX8SegmentLayout layout = CheckedLayout(image);
    TVX8EncodedRecord record;
    bool allPlain = true;
    for (uint16_t k = 0; k < layout.Count; ++k) {
        std::vector<uint8_t> rows = SegmentRows(image, layout, k);
        record.Segments.push_back(EncodeSegment(rows, image.Width, layout.LinesOf(k), coding));
        allPlain = allPlain && record.Segments.back().Coding == TVX8Coding::Plain;
    }

    std::vector<uint8_t>& out = record.Bytes;
    out.assign(image.Name.begin(), image.Name.end());
    out.resize(8, 0);
    Put16(out, image.Width);
    Put16(out, image.Height);
    out.push_back(static_cast<uint8_t>(layout.Count));
    out.push_back(allPlain ? StatePlainRows : StateEncoded);
    out.push_back(image.Transparent ? image.TransparentIndex : 0);
    out.push_back(image.Transparent ? 1 : 0);
    Put16(out, RecordRevision);
    uint32_t end = RecordHeaderSize + 4u * layout.Count;
    for (const TVX8EncodedSegment& segment : record.Segments) {
        end += 3 + static_cast<uint32_t>(segment.Stored.size());
        Put32(out, end);
    }
    for (const TVX8EncodedSegment& segment : record.Segments) {
        out.insert(out.end(), {segment.Escape1, segment.Escape2, segment.Flags});
        out.insert(out.end(), segment.Stored.begin(), segment.Stored.end());
    }
    return record;
}

std::vector<uint8_t> AssembleLibrary(
    const TVX8Palette& palette, const std::vector<TVX8EncodedRecord>& records)
{
    std::set<std::string> names;
    for (const TVX8EncodedRecord& record : records) {
        std::string name = RecordName(record.Bytes);
        if (!names.insert(LowerShortName(name)).second) {
            throw KelException("EncodeLibrary: image name \"" + name
                + "\" occurs twice (names ignore letter case)");
        }
    }
    std::vector<uint8_t> out {'V', 'X', 8, 0};
    Put16(out, 2);
    out.insert(out.end(), palette.begin(), palette.end());
    for (const TVX8EncodedRecord& record : records) {
        out.insert(out.end(), record.Bytes.begin(), record.Bytes.end());
    }
    return out;
}

std::vector<uint8_t> EncodeLibrary(
    const TVX8Palette& palette, const std::vector<TVX8SourceImage>& images)
{
    std::vector<TVX8EncodedRecord> records;
    records.reserve(images.size());
    for (const TVX8SourceImage& image : images) {
        records.push_back(EncodeImageRecord(image));
    }
    return AssembleLibrary(palette, records);
}

void WriteLibraryBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const int error
        = ReplaceFileContents(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    if (error != 0) {
        throw KelException(
            "WriteLibraryFile: cannot write \"" + path + "\": " + std::strerror(error));
    }
}

void WriteLibraryFile(
    const std::string& path, const TVX8Palette& palette, const std::vector<TVX8SourceImage>& images)
{
    WriteLibraryBytes(path, EncodeLibrary(palette, images));
}
