#include "LibraryAccess.h"

#include "common/KelException.h"
#include "common/KelStd.h"
#include "vx8/VX8FileStream.h"
#include "vx8/VX8Image.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

[[noreturn]] void RecordPastEnd(int64_t offset)
{
    throw VX8Exception(
        "the image record at offset " + std::to_string(offset) + " runs past the end of the file");
}

} // namespace

std::vector<TRecordEntry> ReadRecordEntries(const std::string& path)
{
    TVX8FileStream stream(path, TVX8FileStream::TMode::ReadOnly);
    const int64_t length = stream.Length();
    std::vector<TRecordEntry> entries;
    int64_t position = TVX8Library::FirstRecordOffset;
    // Like the library's directory scan: only the header and the last segment end are read, so
    // a record whose blocks are broken still shows up here and fails when it is opened.
    while (position < length) {
        std::array<uint8_t, TVX8Image::HeaderSize> header;
        stream.Seek(position);
        if (!stream.ReadExact(header.data(), header.size())) {
            RecordPastEnd(position);
        }
        TVX8Image::ValidateImageHeader(header);
        TRecordEntry entry;
        entry.Offset = position;
        const char* name = reinterpret_cast<const char*>(header.data());
        entry.Name.assign(name, strnlen(name, 8));
        entry.Width = Read16(&header[8]);
        entry.Height = Read16(&header[10]);
        entry.SegmentCount = header[12];
        entry.State = header[13];
        entry.TransparentIndex = header[14];
        entry.Transparent = header[15] != 0;
        std::array<uint8_t, 4> last;
        stream.Skip((int64_t {entry.SegmentCount} - 1) * 4);
        if (!stream.ReadExact(last.data(), last.size())) {
            RecordPastEnd(position);
        }
        int32_t recordLength = static_cast<int32_t>(uint32_t {last[0]} | (uint32_t {last[1]} << 8)
            | (uint32_t {last[2]} << 16) | (uint32_t {last[3]} << 24));
        if (recordLength < static_cast<int32_t>(TVX8Image::HeaderSize + 4u * entry.SegmentCount)) {
            throw VX8Exception("the image record at offset " + std::to_string(position)
                + " gives a length shorter than its own header");
        }
        entries.push_back(entry);
        position += recordLength;
    }
    return entries;
}

bool IsDirectoryEntry(const TVX8Library& library, const TRecordEntry& entry)
{
    return library.ImageOffset(entry.Name) == entry.Offset;
}

namespace {

// Gives the node back however reading it ends.
class TOpenedImage {
public:
    TOpenedImage(TVX8Library& library, const std::string& name)
        : Library(library)
        , Node(library.OpenImage(name))
    {
    }
    ~TOpenedImage() { Library.ReleaseImage(Node); }
    TOpenedImage(const TOpenedImage&) = delete;
    TOpenedImage& operator=(const TOpenedImage&) = delete;

    TVX8Library& Library;
    TImageNode* Node;
};

} // namespace

TLibraryPicture ReadLibraryPicture(TVX8Library& library, const std::string& name)
{
    TOpenedImage opened(library, name);
    TVX8ImageData* data = library.GetImageData(opened.Node);
    if (data == nullptr) {
        throw KelException(
            "the drawing surface of image \"" + ShortName(name) + "\" cannot be built");
    }
    TLibraryPicture picture;
    picture.Name = ShortName(name);
    picture.Width = data->Width;
    picture.Height = data->Height;
    picture.Transparent = data->Transparent;
    picture.TransparentIndex = data->TransparentIndex;
    picture.Pixels.resize(size_t {data->Width} * data->Height);
    for (int32_t y = 0; y < data->Height; ++y) {
        const uint8_t* row = data->StartLine(0, y);
        std::copy(row, row + data->Width, picture.Pixels.begin() + ptrdiff_t {y} * data->Width);
    }
    return picture;
}
