#pragma once

#include "encoder/VX8Encoder.h"

#include <cstdint>
#include <string>
#include <vector>

// A picture like the game's: flat fields, hard edges, soft gradients and a little texture.
TVX8SourceImage MakeGameLikePicture(const std::string& name, uint16_t width, uint16_t height);

// The picture as an 8-bit indexed PNG in memory, at zlib level 9.
std::vector<uint8_t> EncodeIndexedPng(const TVX8SourceImage& image);

// Decodes an indexed PNG from memory into rows of indices; returns the pixel count.
std::size_t DecodeIndexedPng(const std::vector<uint8_t>& png, std::vector<uint8_t>& pixels);

// Writes bytes to a new file in the temporary folder and returns its path.
std::string WriteTemporaryFile(const std::vector<uint8_t>& bytes, const std::string& stem);
