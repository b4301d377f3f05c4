#include "solver/TableFile.h"

#include "common/KelException.h"
#include "solver/PatternSearch.h"
#include "solver/PatternTable.h"
#include "solver/PhaseProblemMaker.h"
#include "solver/Placement.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::array<char, 8> Magic {'P', 'W', 'T', 'A', 'B', 'L', 'E', 'S'};
// Raised whenever a table's numbering or contents change.
constexpr uint32_t FormatVersion = 1;
// Magic, version, section count; then a key, offset, size and checksum per section; then the
// header's own checksum.
constexpr std::size_t FixedHeader = Magic.size() + 4 + 4;
constexpr std::size_t EntryBytes = 4 * 8;
// Sections start at multiples of this, so that a table's words are aligned.
constexpr uint64_t SectionAlign = 64;

uint64_t Checksum(const uint8_t* bytes, std::size_t size)
{
    // 64-bit FNV-1a over little-endian words, then over the last bytes.
    constexpr uint64_t Prime = 0x100000001b3ull;
    uint64_t hash = 0xcbf29ce484222325ull;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word = 0;
        for (int32_t b = 7; b >= 0; --b)
            word = word << 8 | bytes[i + static_cast<std::size_t>(b)];
        hash = (hash ^ word) * Prime;
    }
    for (; i < size; ++i)
        hash = (hash ^ bytes[i]) * Prime;
    return hash;
}

uint64_t NameKey(const std::string& name)
{
    return Checksum(reinterpret_cast<const uint8_t*>(name.data()), name.size());
}

void PutWord(std::string& out, uint64_t value, int32_t bytes)
{
    for (int32_t b = 0; b < bytes; ++b)
        out.push_back(static_cast<char>(value >> (8 * b) & 0xFF));
}

uint64_t GetWord(const uint8_t* at, int32_t bytes)
{
    uint64_t value = 0;
    for (int32_t b = bytes - 1; b >= 0; --b)
        value = value << 8 | at[b];
    return value;
}

std::size_t HeaderBytes(std::size_t sections)
{
    return FixedHeader + sections * EntryBytes + 8;
}

uint64_t Aligned(uint64_t offset)
{
    return (offset + SectionAlign - 1) / SectionAlign * SectionAlign;
}

// The offsets of the sections and the file's size.
std::vector<uint64_t> Layout(const std::vector<TTableSection>& sections)
{
    std::vector<uint64_t> offsets;
    uint64_t at = HeaderBytes(sections.size());
    for (const TTableSection& section : sections) {
        at = Aligned(at);
        offsets.push_back(at);
        at += section.Size;
    }
    offsets.push_back(at);
    return offsets;
}

} // namespace

std::string SixTilesTableName()
{
    return "six tiles 4x4";
}

std::string PatternTableName(
    int32_t cols, int32_t rows, const std::vector<std::pair<int8_t, int8_t>>& offsets)
{
    std::string name = "pattern " + std::to_string(cols) + "x" + std::to_string(rows);
    for (const auto& [col, row] : offsets)
        name += " " + std::to_string(col) + "," + std::to_string(row);
    return name;
}

const std::vector<TTableSection>& TableSections()
{
    static const std::vector<TTableSection> sections = [] {
        std::vector<TTableSection> list;
        list.push_back({SixTilesTableName(), (PlacementCount(PatternCells, PatternTiles) + 1) / 2,
            [] { return SearchSixTiles(TTilePatternTable::Homes(), nullptr); }});
        // The tables of frames of five rows, which take longest; smaller ones build at once.
        const int32_t rows = TPhaseProblemMaker::ColumnTableRows;
        for (const int32_t cols : {MinLines, MinLines + 1, MaxLines})
            for (const TPatternTable::TOffsets& shape :
                {TPhaseProblemMaker::BlockShape(), TPhaseProblemMaker::ColumnShape()}) {
                const auto tiles = static_cast<int32_t>(shape.size());
                list.push_back({PatternTableName(cols, rows, shape),
                    (PlacementCount(cols * rows, tiles) + 1) / 2, [cols, rows, shape] {
                        return TPatternTable::SearchPlacements(cols, rows, shape, nullptr);
                    }});
            }
        return list;
    }();
    return sections;
}

std::string TableFileBytes(
    const std::vector<TTableSection>& sections, const std::vector<std::vector<uint8_t>>& contents)
{
    const std::vector<uint64_t> offsets = Layout(sections);
    std::string out(Magic.begin(), Magic.end());
    PutWord(out, FormatVersion, 4);
    PutWord(out, sections.size(), 4);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        PutWord(out, NameKey(sections[i].Name), 8);
        PutWord(out, offsets[i], 8);
        PutWord(out, contents[i].size(), 8);
        PutWord(out, Checksum(contents[i].data(), contents[i].size()), 8);
    }
    PutWord(out, Checksum(reinterpret_cast<const uint8_t*>(out.data()), out.size()), 8);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        out.resize(offsets[i], '\0');
        out.append(contents[i].begin(), contents[i].end());
    }
    return out;
}

TTableFile::TTableFile(const std::string& path, const std::vector<TTableSection>& sections)
    : FPath(path)
    , FFile(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK))
{
    const auto refuse = [&](const std::string& why) {
        return KelException("Solver tables \"" + path + "\": " + why);
    };
    if (!FFile)
        throw refuse(std::strerror(errno));
    struct stat status { };
    if (fstat(FFile.Get(), &status) != 0)
        throw refuse(std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        throw refuse("not a regular file");
    const std::vector<uint64_t> layout = Layout(sections);
    if (static_cast<uint64_t>(status.st_size) != layout.back())
        throw refuse(
            "size " + std::to_string(status.st_size) + ", not " + std::to_string(layout.back()));
    const std::size_t header = HeaderBytes(sections.size());
    const std::vector<uint8_t> head = Read(0, header, "the header is cut short");
    const uint8_t* bytes = head.data();
    if (std::memcmp(bytes, Magic.data(), Magic.size()) != 0)
        throw refuse("not a table file");
    if (GetWord(bytes + Magic.size(), 4) != FormatVersion)
        throw refuse("version " + std::to_string(GetWord(bytes + Magic.size(), 4)) + ", not "
            + std::to_string(FormatVersion));
    if (GetWord(bytes + header - 8, 8) != Checksum(bytes, header - 8))
        throw refuse("the header's checksum does not agree");
    if (GetWord(bytes + Magic.size() + 4, 4) != sections.size())
        throw refuse("other tables");
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const uint8_t* entry = bytes + FixedHeader + i * EntryBytes;
        TEntry read {sections[i].Name, GetWord(entry + 8, 8), GetWord(entry + 16, 8),
            GetWord(entry + 24, 8)};
        if (GetWord(entry, 8) != NameKey(sections[i].Name) || read.Offset != layout[i]
            || read.Size != sections[i].Size)
            throw refuse("other tables");
        FEntries.push_back(read);
    }
}

std::vector<uint8_t> TTableFile::Read(uint64_t offset, uint64_t size, const std::string& why) const
{
    std::vector<uint8_t> bytes(size);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t got = pread(FFile.Get(), bytes.data() + done, bytes.size() - done,
            static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw KelException("Solver tables \"" + FPath + "\": " + std::strerror(errno));
        if (got == 0)
            throw KelException("Solver tables \"" + FPath + "\": " + why);
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

std::span<const uint8_t> TTableFile::Section(const std::string& name) const
{
    for (const auto& [readName, bytes] : FRead)
        if (readName == name)
            return bytes;
    for (const TEntry& entry : FEntries)
        if (entry.Name == name) {
            std::vector<uint8_t> bytes
                = Read(entry.Offset, entry.Size, "the " + name + " table is cut short");
            if (Checksum(bytes.data(), bytes.size()) != entry.Checksum)
                throw KelException("Solver tables \"" + FPath + "\": the checksum of the " + name
                    + " table does not agree");
            return FRead.emplace_back(name, std::move(bytes)).second;
        }
    throw KelException("Solver tables \"" + FPath + "\": no " + name + " table");
}

namespace {

std::mutex& PathGuard()
{
    static std::mutex guard;
    return guard;
}

std::string& FilePath()
{
    static std::string path;
    return path;
}

} // namespace

void SetTableFilePath(const std::string& path)
{
    const std::lock_guard lock(PathGuard());
    FilePath() = path;
}

std::span<const uint8_t> TableFromFile(const std::string& name)
{
    // The file is opened once, by the first table that asks; a refused file is not tried again.
    static std::optional<std::unique_ptr<TTableFile>> file;
    const std::lock_guard lock(PathGuard());
    if (!file) {
        file.emplace();
        if (!FilePath().empty()) {
            try {
                *file = std::make_unique<TTableFile>(FilePath(), TableSections());
            } catch (const KelException&) {
            }
        }
    }
    if (!*file)
        return {};
    try {
        return (*file)->Section(name);
    } catch (const KelException&) {
        return {};
    }
}
