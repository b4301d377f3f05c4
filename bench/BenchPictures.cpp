#include "BenchPictures.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <unistd.h>

TVX8SourceImage MakeGameLikePicture(const std::string& name, uint16_t width, uint16_t height)
{
    TVX8SourceImage image;
    image.Name = name;
    image.Width = width;
    image.Height = height;
    image.Pixels.resize(std::size_t {width} * height);
    std::mt19937 noise(1234);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t value;
            int field = ((x / 96) + (y / 80)) % 4;
            if (field == 0)
                value = 40; // flat meadow
            else if (field == 1)
                value = static_cast<uint8_t>(60 + (x % 96) / 6); // horizontal gradient
            else if (field == 2)
                value = static_cast<uint8_t>(100 + ((x / 4 + y / 4) % 2) * 3); // chequered field
            else
                value = static_cast<uint8_t>(150 + noise() % 6); // textured patch
            // Roads: two diagonal bands and a horizontal one with a darker edge.
            int band = (x + y) % 200;
            if (band < 14)
                value = band < 2 || band > 11 ? 20 : 200;
            if (y % 160 >= 70 && y % 160 < 82)
                value = y % 160 == 70 || y % 160 == 81 ? 20 : 201;
            image.Pixels[std::size_t(y) * width + x] = value;
        }
    }
    return image;
}

std::vector<uint8_t> EncodeIndexedPng(const TVX8SourceImage& image)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* buffer = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            buffer->insert(buffer->end(), data, data + length);
        },
        nullptr);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, image.Width, image.Height, 8, PNG_COLOR_TYPE_PALETTE,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = {
            static_cast<png_byte>(i), static_cast<png_byte>(255 - i), static_cast<png_byte>(i / 2)};
    png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    for (int y = 0; y < image.Height; ++y)
        png_write_row(png, image.Pixels.data() + std::size_t(y) * image.Width);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::size_t DecodeIndexedPng(const std::vector<uint8_t>& png, std::vector<uint8_t>& pixels)
{
    struct TReader {
        const std::vector<uint8_t>* Bytes;
        std::size_t Offset;
    } reader {&png, 0};
    png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(read);
    if (setjmp(png_jmpbuf(read))) {
        png_destroy_read_struct(&read, &info, nullptr);
        throw std::runtime_error("PNG decoding failed");
    }
    png_set_read_fn(read, &reader, [](png_structp p, png_bytep data, png_size_t length) {
        auto* r = static_cast<TReader*>(png_get_io_ptr(p));
        if (r->Offset + length > r->Bytes->size())
            png_error(p, "read past the end");
        std::copy_n(r->Bytes->data() + r->Offset, length, data);
        r->Offset += length;
    });
    png_read_info(read, info);
    png_uint_32 width = png_get_image_width(read, info);
    png_uint_32 height = png_get_image_height(read, info);
    pixels.resize(std::size_t {width} * height);
    for (png_uint_32 y = 0; y < height; ++y)
        png_read_row(read, pixels.data() + std::size_t {y} * width, nullptr);
    png_read_end(read, nullptr);
    png_destroy_read_struct(&read, &info, nullptr);
    return pixels.size();
}

std::string WriteTemporaryFile(const std::vector<uint8_t>& bytes, const std::string& stem)
{
    std::string path = "/tmp/" + stem + "-XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0)
        throw std::runtime_error("cannot create " + path);
    bool ok = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    if (!ok)
        throw std::runtime_error("cannot write " + path);
    return path;
}
