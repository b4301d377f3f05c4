#pragma once

#include "common/KelFileHandle.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The solver's slowest tables, built once ahead by the build and read from a file beside the
// game instead of being built in every process. The file is input like any other: it is used
// only when its size, format, version and every checksum agree with what this program would
// write, and a refused file costs no more than reading its size.
struct TTableSection {
    // Names the table: its kind, board size and shape.
    std::string Name;
    uint32_t Size = 0;
    // The table's bytes, as the solver builds them.
    std::function<std::vector<uint8_t>()> Build;
};

// The sections this program reads, in the order of the file.
const std::vector<TTableSection>& TableSections();
// The names of the sections of the six tiles' table of 4 x 4 boards and of a pattern's table.
std::string SixTilesTableName();
std::string PatternTableName(
    int32_t cols, int32_t rows, const std::vector<std::pair<int8_t, int8_t>>& offsets);

// The file's bytes for these sections and their contents: the same sections always give the
// same bytes.
std::string TableFileBytes(
    const std::vector<TTableSection>& sections, const std::vector<std::vector<uint8_t>>& contents);

// A table file, read a section at a time when first asked for. Raises KelException, naming the
// file and what is wrong, when it cannot be read or does not have the sections' exact layout; a
// section's checksum is checked when the section is read. The file is read rather than mapped:
// a file cut while open (a rebuild writing it in place) is then a refused section, not a fault.
class TTableFile {
public:
    TTableFile(const std::string& path, const std::vector<TTableSection>& sections);

    // The section's bytes, kept for the file's lifetime; raises KelException when they are cut
    // short or their checksum does not agree. Not from several threads at once.
    std::span<const uint8_t> Section(const std::string& name) const;

private:
    struct TEntry {
        std::string Name;
        uint64_t Offset = 0;
        uint64_t Size = 0;
        uint64_t Checksum = 0;
    };
    // Reads the bytes at offset, all of them or raises KelException with why.
    std::vector<uint8_t> Read(uint64_t offset, uint64_t size, const std::string& why) const;

    std::string FPath;
    TFileHandle FFile;
    std::vector<TEntry> FEntries;
    // The sections read so far, by name.
    mutable std::deque<std::pair<std::string, std::vector<uint8_t>>> FRead;
};

// Where the solver looks for its table file; set before the first solve. The file is not read
// here but when a table is first needed.
void SetTableFilePath(const std::string& path);

// The section of the table file set, or an empty span when there is no file, it was refused,
// or its section does not check: the caller then builds the table itself.
std::span<const uint8_t> TableFromFile(const std::string& name);
