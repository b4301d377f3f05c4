#include "vx8/VX8Image.h"

#include "common/KelBytes.h"
#include "common/KelException.h"

#include <algorithm>
#include <cstring>

namespace {

[[noreturn]] void RecordPastEnd()
{
    throw VX8Exception("ReadFromStream: image record runs past end of file");
}

// Clears a segment's busy mark when drawing it ends, also on failure.
class TBusyMark {
public:
    explicit TBusyMark(TVX8ImageSegment& segment)
        : FSegment(segment)
    {
        FSegment.SetBusy(true);
    }
    ~TBusyMark() { FSegment.SetBusy(false); }
    TBusyMark(const TBusyMark&) = delete;
    TBusyMark& operator=(const TBusyMark&) = delete;

private:
    TVX8ImageSegment& FSegment;
};

} // namespace

void TVX8Image::ValidateImageHeader(std::span<const uint8_t, HeaderSize> header)
{
    const uint16_t width = ReadLE16(&header[8]);
    const uint16_t height = ReadLE16(&header[10]);
    const uint8_t count = header[12];
    const uint8_t state = header[13];
    if (width == 0 || height == 0 || count == 0 || (state != 1 && state != 2)
        || ReadLE16(&header[16]) != RequiredRevision)
        throw VX8Exception("Invalid VX8 image header");
    if (width > TVX8ImageSegment::MaxWidth)
        throw VX8Exception("ValidateImageHeader: image width above 65280");
    if (!TVX8ImageSegment::GeometryFits(width, height)
        || count != TVX8ImageSegment::SegmentCount(width, height))
        throw VX8Exception("ValidateImageHeader: segment count does not match image size");
}

void TVX8Image::ReadFromStream(TVX8FileStream& stream)
{
    FreeSegments();
    RecordStart = stream.Position();
    Stream = &stream;
    try {
        std::array<uint8_t, HeaderSize> header;
        if (!stream.ReadExact(header.data(), header.size()))
            RecordPastEnd();
        ValidateImageHeader(header);
        std::memcpy(Name.data(), header.data(), Name.size());
        Width = ReadLE16(&header[8]);
        Height = ReadLE16(&header[10]);
        SegmentCount = header[12];
        State = header[13];
        TransparentIndex = header[14];
        Transparent = header[15];
        Revision = ReadLE16(&header[16]);
        std::vector<uint16_t> storedLengths;
        ReadSegmentTable(stream, storedLengths);
        ReadSegmentPrefixes(stream, storedLengths);
    } catch (...) {
        Stream = nullptr;
        FreeSegments();
        throw;
    }
}

void TVX8Image::ReadSegmentTable(TVX8FileStream& stream, std::vector<uint16_t>& storedLengths)
{
    std::vector<uint8_t> table(std::size_t {SegmentCount} * 4);
    if (!stream.ReadExact(table.data(), table.size()))
        RecordPastEnd();
    int64_t previousEnd = static_cast<int64_t>(HeaderSize + table.size());
    for (uint8_t k = 0; k < SegmentCount; ++k) {
        const int32_t end = ReadLE32(&table[std::size_t {k} * 4]);
        const int64_t stored = end - previousEnd - 3;
        if (stored < 0 || stored > 0xFFFF)
            throw VX8Exception("ReadFromStream: invalid segment length");
        Segments.push_back(std::make_unique<TVX8ImageSegment>(this, k));
        Segments.back()->SetUnloaded(static_cast<uint16_t>(stored));
        storedLengths.push_back(static_cast<uint16_t>(stored));
        previousEnd = end;
    }
    if (RecordStart + previousEnd > stream.Length())
        RecordPastEnd();
}

void TVX8Image::ReadSegmentPrefixes(
    TVX8FileStream& stream, const std::vector<uint16_t>& storedLengths)
{
    for (uint8_t k = 0; k < SegmentCount; ++k) {
        std::array<uint8_t, 3> prefix;
        if (!stream.ReadExact(prefix.data(), prefix.size()))
            RecordPastEnd();
        TVX8ImageSegment& segment = *Segments[k];
        segment.ReadPrefix(prefix);
        // Rows stored as they stand must be exactly the rows the surface will address.
        const bool plainRows = State == 2 || (segment.Flags & TVX8ImageSegment::FlagEncoded) == 0;
        if (plainRows && storedLengths[k] != TVX8ImageSegment::SegmentBytes(Width, Height, k))
            throw VX8Exception("ReadFromStream: segment size does not match image size");
        stream.Skip(storedLengths[k]);
    }
}

void TVX8Image::LoadSegment(uint8_t index)
{
    if (Stream == nullptr || index >= Segments.size())
        throw VX8Exception("LoadSegment: the segment has no stored data");
    const std::size_t tableStart = HeaderSize;
    std::array<uint8_t, 8> entries {};
    int64_t start = static_cast<int64_t>(tableStart + Segments.size() * 4);
    bool read = false;
    if (index > 0) {
        Stream->Seek(RecordStart + static_cast<int64_t>(tableStart + (index - 1u) * 4u));
        read = Stream->ReadExact(entries.data(), 8);
        start = ReadLE32(entries.data());
    } else {
        Stream->Seek(RecordStart + static_cast<int64_t>(tableStart));
        read = Stream->ReadExact(entries.data() + 4, 4);
    }
    if (!read)
        throw VX8Exception("LoadSegment: segment data runs past end of file");
    start += 3;
    const int64_t length = ReadLE32(entries.data() + 4) - start;
    TVX8ImageSegment& segment = *Segments[index];
    // The table was checked when the record was read; it must still give that size.
    if (length < 0 || length > 0xFFFF || (segment.IsUnloaded() && length != segment.Size()))
        throw VX8Exception("LoadSegment: invalid segment length");
    const auto size = static_cast<uint16_t>(length);
    Stream->Seek(RecordStart + start);
    segment.Allocate(size, TVX8ImageSegment::TAllocation::Plain);
    const bool loaded = Stream->ReadExact(segment.Lock(), size);
    segment.Unlock();
    if (!loaded) {
        segment.SetUnloaded(size);
        throw VX8Exception("LoadSegment: segment data runs past end of file");
    }
}

void TVX8Image::DecodeAll()
{
    if (State != 1)
        return;
    try {
        for (const auto& segment : Segments)
            segment->Decode(Width, Height);
    } catch (...) {
        FreeSegments();
        throw;
    }
    State = 2;
}

void TVX8Image::CreateBlank(std::string_view name, uint16_t width, uint16_t height)
{
    FreeSegments();
    if (width > TVX8ImageSegment::MaxWidth)
        throw VX8Exception("CreateBlank: width above 65280 pixels");
    if (!TVX8ImageSegment::GeometryFits(width, height))
        throw VX8Exception("CreateBlank: image too large for 255 segments");
    Name.fill(0);
    std::memcpy(Name.data(), name.data(), std::min(name.size(), Name.size()));
    Width = width;
    Height = height;
    SegmentCount = static_cast<uint8_t>(TVX8ImageSegment::SegmentCount(width, height));
    TransparentIndex = 0;
    Transparent = 0;
    Revision = RequiredRevision;
    try {
        for (uint8_t k = 0; k < SegmentCount; ++k) {
            Segments.push_back(std::make_unique<TVX8ImageSegment>(this, k));
            Segments.back()->Allocate(TVX8ImageSegment::SegmentBytes(width, height, k),
                TVX8ImageSegment::TAllocation::ZeroFilled);
        }
    } catch (...) {
        FreeSegments();
        throw;
    }
    State = 2;
}

std::unique_ptr<TVX8ImageData> TVX8Image::GetImageData(TBitmapInfo* pbmInfo)
{
    std::unique_ptr<TVX8ImageData> data;
    try {
        DecodeAll();
        data = std::make_unique<TVX8ImageData>();
        data->Setup(Width, Height, Segments, TransparentIndex, Transparent != 0, pbmInfo);
    } catch (const std::exception&) {
        if (data != nullptr)
            ReleaseImageData(std::move(data));
        return nullptr;
    }
    return data;
}

void TVX8Image::ReleaseImageData(std::unique_ptr<TVX8ImageData> data)
{
    for (const auto& segment : Segments)
        segment->Unlock();
    data.reset();
}

void TVX8Image::FreeSegments()
{
    Segments.clear();
    State = 0;
}

void TVX8Image::DrawToDevice(TDeviceContext& dc, TPoint point, TBitmapInfo& header)
{
    if (State != 2)
        return;
    const uint16_t stride = TVX8ImageSegment::RowStride(Width);
    int64_t rowsDrawn = 0;
    for (std::size_t k = 0; k < Segments.size(); ++k) {
        const uint16_t lines
            = TVX8ImageSegment::SegmentLines(Width, Height, static_cast<uint16_t>(k));
        rowsDrawn += lines;
        TVX8ImageSegment& segment = *Segments[k];
        if (segment.IsBusy())
            continue;
        const TBusyMark busy(segment);
        header.Header.Width = Width;
        header.Header.Height = lines;
        header.Header.SizeImage = uint32_t {stride} * lines;
        const TVX8SegmentLock lock(segment);
        const int64_t top = int64_t {point.Y} + Height - rowsDrawn;
        dc.TransferDIBits(point.X, ClampToInt32(top), Width, lines, 0, 0, lock.Bytes(), header);
    }
}
