#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A palette-indexed picture as a PNG file holds it.
struct TIndexedPicture {
    uint32_t Width = 0;
    uint32_t Height = 0;
    std::vector<std::array<uint8_t, 3>> Palette; // red, green, blue; at most 256 entries
    std::vector<uint8_t> Alpha; // the tRNS alphas; may be shorter than Palette
    std::vector<uint8_t> Pixels; // palette indices, top row first
};

// Reads an 8-bit indexed PNG; any other kind of file raises KelException naming the file.
// Pictures larger than width x height are refused before their pixels are read.
TIndexedPicture ReadIndexedPng(const std::string& path, uint32_t maxWidth, uint32_t maxHeight);

// The picture as an 8-bit indexed PNG at the given zlib level.
std::vector<uint8_t> EncodeIndexedPng(const TIndexedPicture& picture, int zlibLevel);

// Writes bytes to path, raising KelException naming the file when that fails.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
