#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One picture to store in a library file: palette indices, top row first, no padding.
struct TVX8SourceImage {
    std::string Name; // at most 8 single-byte characters, stored as given
    uint16_t Width = 0;
    uint16_t Height = 0;
    std::vector<uint8_t> Pixels; // Width * Height indices
    bool Transparent = false;
    uint8_t TransparentIndex = 0;
};

// The shared palette as the file stores it: 256 entries of blue, green, red and a fourth byte.
using TVX8Palette = std::array<uint8_t, 1024>;

// The bytes of a whole library file holding the images in the given order.
std::vector<uint8_t> EncodeLibrary(const TVX8Palette& palette,
                                   const std::vector<TVX8SourceImage>& images);

// Writes EncodeLibrary's bytes to path; a failure raises KelException naming the file.
void WriteLibraryFile(const std::string& path, const TVX8Palette& palette,
                      const std::vector<TVX8SourceImage>& images);
