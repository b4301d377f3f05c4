#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

// One segment block as the library file stores it.
struct TTestSegment {
    uint8_t Escape1 = 0;
    uint8_t Escape2 = 0;
    uint8_t Flags = 0;
    TBytes Stored;
};

// An image record laid out byte by byte; SegmentCount < 0 takes the number of segments given.
struct TTestRecord {
    std::string Name;
    uint16_t Width = 1;
    uint16_t Height = 1;
    int SegmentCount = -1;
    uint8_t State = 1;
    uint8_t TransparentIndex = 0;
    uint8_t Transparent = 0;
    uint16_t Revision = 3;
    std::vector<TTestSegment> Segments;
};

void Put16(TBytes& bytes, std::size_t at, uint16_t v);
void Put32(TBytes& bytes, std::size_t at, int32_t v);

TBytes RecordBytes(const TTestRecord& record);
// The 6-byte file header, a palette whose entry i is (blue i, green 255 - i, red i / 2, 0),
// then the records one after another.
TBytes LibraryBytes(const std::vector<TBytes>& records);
TBytes LibraryBytes(const std::vector<TTestRecord>& records);

// A State-2 record of plain rows: row i of the image (top first) filled with the value
// base + i, padding 0.
TTestRecord PlainRecord(const std::string& name, uint16_t width, uint16_t height, uint8_t base = 1);
// A State-1 record whose segments each store one raw line per row (code 0), every pixel v.
TTestRecord RawLineRecord(const std::string& name, uint16_t width, uint16_t height, uint8_t v);

// A file in a fresh temporary folder, removed with the object.
class TTempFile {
public:
    explicit TTempFile(const TBytes& bytes, const std::string& name = "test.vx8");
    ~TTempFile();
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    const std::string& Path() const { return FilePath; }

private:
    std::string Folder;
    std::string FilePath;
};

// The bytes of a kept test file under tests/data/vx8.
TBytes DataFile(const std::string& name);
