#pragma once

#include "vx8/VX8Library.h"

#include <cstdint>
#include <string>
#include <vector>

// The header of one record, found by walking the file's records in order.
struct TRecordEntry {
    int64_t Offset = 0;
    std::string Name; // as stored, letter case kept
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t SegmentCount = 0;
    uint8_t State = 0;
    uint8_t TransparentIndex = 0;
    bool Transparent = false;
};

// Every record of the library file in file order, read with the image records' own reader; a
// record that cannot be read raises its failure.
std::vector<TRecordEntry> ReadRecordEntries(const std::string& path);

// Whether the record is the one the library's directory hands out under its name (an earlier
// record of the same name hides it).
bool IsDirectoryEntry(const TVX8Library& library, const TRecordEntry& entry);

// An image of an open library as its drawing surface shows it: indices, top row first.
struct TLibraryPicture {
    std::string Name;
    uint16_t Width = 0;
    uint16_t Height = 0;
    bool Transparent = false;
    uint8_t TransparentIndex = 0;
    std::vector<uint8_t> Pixels;
};

// Opens the image by name, reads every row through its surface and releases it again.
TLibraryPicture ReadLibraryPicture(TVX8Library& library, const std::string& name);
