#pragma once

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <png.h>
#include <string>
#include <vector>

// A PNG for the tests, written through libpng: samples are given at the file's bit depth, one
// a channel (1 for grey and indexed, 2 grey and alpha, 3 RGB, 4 RGBA), top row first.
struct TTestPng {
    int ColourType = PNG_COLOR_TYPE_PALETTE;
    int BitDepth = 8;
    bool Interlaced = false;
    uint32_t Width = 0;
    uint32_t Height = 1;
    std::vector<uint16_t> Samples {};
    std::vector<png_color> Palette {};
    std::vector<uint8_t> PaletteAlpha {}; // tRNS of an indexed PNG
    bool HasTransparentColour = false; // tRNS of grey or RGB
    png_color_16 TransparentColour {};
};

inline int ChannelsOf(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

inline bool WriteTestPngRows(
    png_structp png, png_infop info, const TTestPng& image, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, image.Width, image.Height, image.BitDepth, image.ColourType,
        image.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (!image.Palette.empty())
        png_set_PLTE(png, info, image.Palette.data(), static_cast<int>(image.Palette.size()));
    if (!image.PaletteAlpha.empty() || image.HasTransparentColour) {
        png_set_tRNS(png, info, image.PaletteAlpha.data(),
            static_cast<int>(image.PaletteAlpha.size()), &image.TransparentColour);
    }
    png_write_info(png, info);
    png_set_check_for_invalid_index(png, 0); // tests write indices past the palette too
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

// Writes the PNG to path; false when libpng refuses it.
inline bool WriteTestPng(const std::string& path, const TTestPng& image)
{
    const std::size_t perRow = image.Width * static_cast<std::size_t>(ChannelsOf(image.ColourType));
    const std::size_t rowBytes = (perRow * static_cast<std::size_t>(image.BitDepth) + 7) / 8;
    std::vector<uint8_t> bytes(rowBytes * image.Height, 0);
    for (std::size_t i = 0; i < image.Samples.size(); ++i) {
        const std::size_t y = i / perRow;
        const std::size_t bit = (i % perRow) * static_cast<std::size_t>(image.BitDepth);
        uint8_t* row = bytes.data() + y * rowBytes;
        const uint16_t v = image.Samples[i];
        if (image.BitDepth == 16) {
            row[bit / 8] = static_cast<uint8_t>(v >> 8);
            row[bit / 8 + 1] = static_cast<uint8_t>(v);
        } else {
            row[bit / 8] |= static_cast<uint8_t>(v << (8 - image.BitDepth - bit % 8));
        }
    }
    std::vector<png_bytep> rows(image.Height);
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = bytes.data() + y * rowBytes;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool written = file != nullptr;
    if (written) {
        png_init_io(png, file);
        written = WriteTestPngRows(png, info, image, rows);
    }
    png_destroy_write_struct(&png, &info);
    return file != nullptr && std::fclose(file) == 0 && written;
}
