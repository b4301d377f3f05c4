#include "VX8TestFiles.h"

#include "codec/VX8ImageSegment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

void Put16(TBytes& bytes, std::size_t at, uint16_t v)
{
    bytes.at(at) = static_cast<uint8_t>(v);
    bytes.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

void Put32(TBytes& bytes, std::size_t at, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

TBytes RecordBytes(const TTestRecord& record)
{
    const std::size_t n = record.Segments.size();
    TBytes bytes(18 + 4 * n, 0);
    for (std::size_t i = 0; i < record.Name.size() && i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(record.Name[i]);
    Put16(bytes, 8, record.Width);
    Put16(bytes, 10, record.Height);
    bytes[12] = static_cast<uint8_t>(record.SegmentCount < 0 ? n : record.SegmentCount);
    bytes[13] = record.State;
    bytes[14] = record.TransparentIndex;
    bytes[15] = record.Transparent;
    Put16(bytes, 16, record.Revision);
    for (std::size_t k = 0; k < n; ++k) {
        const TTestSegment& s = record.Segments[k];
        bytes.insert(bytes.end(), {s.Escape1, s.Escape2, s.Flags});
        bytes.insert(bytes.end(), s.Stored.begin(), s.Stored.end());
        Put32(bytes, 18 + 4 * k, static_cast<int32_t>(bytes.size()));
    }
    return bytes;
}

TBytes LibraryBytes(const std::vector<TBytes>& records)
{
    TBytes bytes {'V', 'X', 8, 0, 2, 0};
    for (int i = 0; i < 256; ++i)
        bytes.insert(bytes.end(),
            {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2),
                0});
    for (const TBytes& record : records)
        bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

TBytes LibraryBytes(const std::vector<TTestRecord>& records)
{
    std::vector<TBytes> laidOut;
    laidOut.reserve(records.size());
    for (const TTestRecord& record : records)
        laidOut.push_back(RecordBytes(record));
    return LibraryBytes(laidOut);
}

TTestRecord PlainRecord(const std::string& name, uint16_t width, uint16_t height, uint8_t base)
{
    TTestRecord record;
    record.Name = name;
    record.Width = width;
    record.Height = height;
    record.State = 2;
    const uint16_t stride = TVX8ImageSegment::RowStride(width);
    const uint16_t count = TVX8ImageSegment::SegmentCount(width, height);
    int bottomUpRow = 0;
    for (uint16_t k = 0; k < count; ++k) {
        TTestSegment segment;
        for (uint16_t i = 0; i < TVX8ImageSegment::SegmentLines(width, height, k); ++i) {
            const auto top = static_cast<uint8_t>(base + (height - 1 - bottomUpRow++));
            segment.Stored.insert(segment.Stored.end(), width, top);
            segment.Stored.insert(segment.Stored.end(), stride - width, 0);
        }
        record.Segments.push_back(segment);
    }
    return record;
}

TTestRecord RawLineRecord(const std::string& name, uint16_t width, uint16_t height, uint8_t v)
{
    TTestRecord record;
    record.Name = name;
    record.Width = width;
    record.Height = height;
    const uint16_t count = TVX8ImageSegment::SegmentCount(width, height);
    for (uint16_t k = 0; k < count; ++k) {
        TTestSegment segment {0xF0, 0xF1, TVX8ImageSegment::FlagEncoded, {}};
        for (uint16_t i = 0; i < TVX8ImageSegment::SegmentLines(width, height, k); ++i) {
            segment.Stored.push_back(0);
            segment.Stored.insert(segment.Stored.end(), width, v);
        }
        record.Segments.push_back(segment);
    }
    return record;
}

TTempFile::TTempFile(const TBytes& bytes, const std::string& name)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vx8test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    Folder = pattern;
    FilePath = Folder + "/" + name;
    std::ofstream out(FilePath, std::ios::binary);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TTempFile::~TTempFile()
{
    std::error_code ignored;
    std::filesystem::permissions(FilePath, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(Folder, ignored);
}

TBytes DataFile(const std::string& name)
{
    std::ifstream in(std::string(PW_TEST_DATA_DIR) + "/vx8/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing test file " + name);
    return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
