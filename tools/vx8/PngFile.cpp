#include "PngFile.h"
#include "PngErrors.h"

#include "common/KelException.h"
#include "common/KelFileReplace.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <png.h>

namespace {

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
