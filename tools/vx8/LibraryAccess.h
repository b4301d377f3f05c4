#pragma once

#include "vx8/VX8Library.h"

#include <cstdint>
#include <string>
#include <vector>

// Whether the record is the one the library's directory hands out under its name (an earlier
// record of the same name hides it).
bool IsDirectoryEntry(const TVX8Library& library, const TVX8RecordEntry& entry);

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
