#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

using TRgb = std::array<uint8_t, 3>;

// A palette-indexed picture as a PNG file holds it.
struct TIndexedPicture {
    uint32_t Width = 0;
    uint32_t Height = 0;
    std::vector<TRgb> Palette; // at most 256 entries
    std::vector<uint8_t> Alpha; // the tRNS alphas; may be shorter than Palette
    std::vector<uint8_t> Pixels; // palette indices, top row first
};

// Any PNG as read: an indexed one keeps its indices; grey and RGB pictures, with or without
// alpha, become 16-bit red, green, blue and alpha samples (8-bit samples scaled by 257).
struct TPngPicture {
    bool Indexed = false;
    TIndexedPicture Picture; // Pixels empty unless Indexed
    std::vector<uint16_t> Rgba; // 4 samples a pixel, top row first, unless Indexed
    std::string Kind; // e.g. "RGB, 16 bits per sample"
};

// Decodes a PNG of any colour type and bit depth, interlaced or not. checkSize sees the size
// from the header before anything is allocated for the pixels and raises to refuse it. Failures
// raise KelException with "pack: " and the quoted name.
TPngPicture DecodePng(std::span<const uint8_t> bytes, const std::string& name,
    const std::function<void(uint32_t, uint32_t)>& checkSize);

// The palette and tRNS alphas of an indexed PNG, read from the chunks before its pixels (which
// are never decoded, whatever size the header claims); Pixels stays empty. Failures raise
// KelException with "pack: " and the quoted name, also for a PNG that is not indexed.
TIndexedPicture ReadPngPalette(std::span<const uint8_t> bytes, const std::string& name);

// The file's bytes; raises KelException naming the file when it cannot be read, is no regular
// file or is larger than maxSize.
std::vector<uint8_t> ReadFileBytes(const std::string& path, std::size_t maxSize);

// The picture as an 8-bit indexed PNG at the given zlib level.
std::vector<uint8_t> EncodeIndexedPng(const TIndexedPicture& picture, int zlibLevel);

// Replaces the file at path with bytes through a temporary file, so that a failed write keeps
// the old file; raises KelException naming the file when that fails.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
