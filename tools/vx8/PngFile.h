#pragma once

#include <array>
#include <cstdint>
#include <functional>
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
// checkSize sees the width and height from the header before anything is allocated for the
// pixels, and raises to refuse them.
TIndexedPicture ReadIndexedPng(
    const std::string& path, const std::function<void(uint32_t, uint32_t)>& checkSize);

// The picture as an 8-bit indexed PNG at the given zlib level.
std::vector<uint8_t> EncodeIndexedPng(const TIndexedPicture& picture, int zlibLevel);

// Replaces the file at path with bytes through a temporary file, so that a failed write keeps
// the old file; raises KelException naming the file when that fails.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
