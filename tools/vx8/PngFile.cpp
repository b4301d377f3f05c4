#include "PngFile.h"

#include "common/KelException.h"
#include "common/KelFileReplace.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <png.h>

namespace {

// libpng reports errors by jumping back to the setjmp of the function that called it; the
// message is kept here, and the functions that call libpng hold no C++ objects of their own.
struct TPngErrorText {
    char Text[200] = "";
};

void OnPngError(png_structp png, png_const_charp message)
{
    auto* error = static_cast<TPngErrorText*>(png_get_error_ptr(png));
    std::snprintf(error->Text, sizeof error->Text, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp)
{
}

struct TPngHeader {
    png_uint_32 Width = 0;
    png_uint_32 Height = 0;
    int BitDepth = 0;
    int ColourType = 0;
};

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool ReadPngHeader(png_structp png, png_infop info, TPngHeader& header)
{
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_get_IHDR(png, info, &header.Width, &header.Height, &header.BitDepth, &header.ColourType,
        nullptr, nullptr, nullptr);
    return true;
}

// Reads palette, alphas and pixels into picture, whose vectors the caller has sized.
bool ReadPngBody(
    png_structp png, png_infop info, TIndexedPicture& picture, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &entries, &count) != 0) {
        for (int i = 0; i < count && i < 256; ++i) {
            picture.Palette.push_back({entries[i].red, entries[i].green, entries[i].blue});
        }
    }
    png_bytep alphas = nullptr;
    int alphaCount = 0;
    if (png_get_tRNS(png, info, &alphas, &alphaCount, nullptr) != 0) {
        picture.Alpha.assign(alphas, alphas + std::min(alphaCount, 256));
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

std::string ColourTypeText(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
        return "grey";
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return "grey with alpha";
    case PNG_COLOR_TYPE_RGB:
        return "RGB";
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return "RGBA";
    case PNG_COLOR_TYPE_PALETTE:
        return "indexed";
    default:
        return "colour type " + std::to_string(colourType);
    }
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) {
        png_error(png, "out of memory");
    }
}

void FlushNothing(png_structp)
{
}

bool WritePng(png_structp png, png_infop info, const TIndexedPicture& picture,
    const std::vector<png_color>& palette, std::vector<png_bytep>& rows, int zlibLevel)
{
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_compression_level(png, zlibLevel);
    png_set_IHDR(png, info, picture.Width, picture.Height, 8, PNG_COLOR_TYPE_PALETTE,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!picture.Alpha.empty()) {
        png_set_tRNS(
            png, info, picture.Alpha.data(), static_cast<int>(picture.Alpha.size()), nullptr);
    }
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

} // namespace

TIndexedPicture ReadIndexedPng(
    const std::string& path, const std::function<void(uint32_t, uint32_t)>& checkSize)
{
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw KelException("pack: cannot open \"" + path + "\": " + std::strerror(errno));
    }
    TPngErrorText error;
    png_structp png
        = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    auto destroy = [&] { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); };
    if (!info) {
        destroy();
        throw KelException("pack: out of memory reading \"" + path + "\"");
    }
    png_init_io(png, file.get());
    TPngHeader header;
    if (!ReadPngHeader(png, info, header)) {
        destroy();
        throw KelException("pack: \"" + path + "\" is not a readable PNG: " + error.Text);
    }
    if (header.ColourType != PNG_COLOR_TYPE_PALETTE || header.BitDepth != 8) {
        destroy();
        throw KelException("pack: \"" + path + "\" is not an 8-bit indexed PNG (it is "
            + ColourTypeText(header.ColourType) + ", " + std::to_string(header.BitDepth)
            + " bits per sample)");
    }
    try {
        checkSize(header.Width, header.Height);
    } catch (...) {
        destroy();
        throw;
    }
    TIndexedPicture picture;
    picture.Width = header.Width;
    picture.Height = header.Height;
    picture.Pixels.resize(size_t {header.Width} * header.Height);
    std::vector<png_bytep> rows(header.Height);
    for (size_t y = 0; y < rows.size(); ++y) {
        rows[y] = picture.Pixels.data() + y * header.Width;
    }
    bool read = ReadPngBody(png, info, picture, rows);
    destroy();
    if (!read) {
        throw KelException("pack: \"" + path + "\" is not a readable PNG: " + error.Text);
    }
    return picture;
}

std::vector<uint8_t> EncodeIndexedPng(const TIndexedPicture& picture, int zlibLevel)
{
    std::vector<png_color> palette;
    for (const auto& entry : picture.Palette) {
        palette.push_back({entry[0], entry[1], entry[2]});
    }
    std::vector<png_bytep> rows(picture.Height);
    for (size_t y = 0; y < rows.size(); ++y) {
        rows[y] = const_cast<png_bytep>(picture.Pixels.data() + y * picture.Width);
    }
    std::vector<uint8_t> out;
    TPngErrorText error;
    png_structp png
        = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info) {
        png_set_write_fn(png, &out, AppendBytes, FlushNothing);
        written = WritePng(png, info, picture, palette, rows, zlibLevel);
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!written) {
        throw KelException(std::string("PNG: cannot encode the picture: ")
            + (info ? error.Text : "out of memory"));
    }
    return out;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const int error
        = ReplaceFileContents(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    if (error != 0)
        throw KelException("cannot write \"" + path + "\": " + std::strerror(error));
}
