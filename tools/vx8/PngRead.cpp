#include "PngErrors.h"
#include "PngFile.h"

#include "common/KelException.h"
#include "common/KelFileHandle.h"

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TMemoryInput {
    const uint8_t* Data = nullptr;
    std::size_t Size = 0;
    std::size_t Position = 0;
};

void ReadFromMemory(png_structp png, png_bytep target, png_size_t length)
{
    auto* input = static_cast<TMemoryInput*>(png_get_io_ptr(png));
    if (length > input->Size - input->Position)
        png_error(png, "the file ends early");
    std::memcpy(target, input->Data + input->Position, length);
    input->Position += length;
}

struct TPngHeader {
    png_uint_32 Width = 0;
    png_uint_32 Height = 0;
    int BitDepth = 0;
    int ColourType = 0;
};

bool ReadPngHeader(png_structp png, png_infop info, TPngHeader& header)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    png_get_IHDR(png, info, &header.Width, &header.Height, &header.BitDepth, &header.ColourType,
        nullptr, nullptr, nullptr);
    return true;
}

// Indexed pictures get one byte an index; everything else becomes RGBA at its own depth (8 or
// 16 bits, big-endian), grey and a tRNS colour included.
bool SetTransforms(png_structp png, png_infop info, const TPngHeader& header, std::size_t& rowBytes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    if (header.ColourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);
    } else {
        png_set_expand(png);
        png_set_gray_to_rgb(png);
        if ((header.ColourType & PNG_COLOR_MASK_ALPHA) == 0
            && png_get_valid(png, info, PNG_INFO_tRNS) == 0)
            png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    rowBytes = png_get_rowbytes(png, info);
    return true;
}

// The PLTE chunk's colours and, for a palette, the tRNS chunk's alphas (at most 256 of each).
void ReadPaletteAndAlphas(png_structp png, png_infop info, TIndexedPicture& picture)
{
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &entries, &count) != 0) {
        for (int i = 0; i < count && i < 256; ++i)
            picture.Palette.push_back({entries[i].red, entries[i].green, entries[i].blue});
    }
    png_bytep alphas = nullptr;
    int alphaCount = 0;
    if (!picture.Palette.empty() && png_get_tRNS(png, info, &alphas, &alphaCount, nullptr) != 0
        && alphas != nullptr)
        picture.Alpha.assign(alphas, alphas + std::min(alphaCount, 256));
}

bool ReadPngRows(png_structp png, png_infop info, TIndexedPicture& picture, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    ReadPaletteAndAlphas(png, info, picture);
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

std::string KindText(int colourType, int bitDepth)
{
    const char* kind = colourType == PNG_COLOR_TYPE_GRAY ? "grey"
        : colourType == PNG_COLOR_TYPE_GRAY_ALPHA        ? "grey with alpha"
        : colourType == PNG_COLOR_TYPE_RGB               ? "RGB"
        : colourType == PNG_COLOR_TYPE_RGB_ALPHA         ? "RGBA"
                                                         : "indexed";
    return std::string(kind) + ", " + std::to_string(bitDepth) + " bits per sample";
}

// Owns libpng's read structures.
class TPngReader {
public:
    explicit TPngReader(TPngErrorText& error)
        : FPng(png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning))
        , FInfo(FPng ? png_create_info_struct(FPng) : nullptr)
    {
    }
    ~TPngReader() { png_destroy_read_struct(&FPng, FInfo ? &FInfo : nullptr, nullptr); }
    TPngReader(const TPngReader&) = delete;
    TPngReader& operator=(const TPngReader&) = delete;

    png_structp Png() const { return FPng; }
    png_infop Info() const { return FInfo; }

private:
    png_structp FPng;
    png_infop FInfo;
};

// libpng only warns about an index past the palette; such a pixel has no colour to store.
void CheckIndices(const TIndexedPicture& picture, const std::string& quoted)
{
    const std::size_t count = picture.Palette.size();
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i) {
        if (picture.Pixels[i] >= count) {
            throw KelException("pack: " + quoted + " has palette index "
                + std::to_string(picture.Pixels[i]) + " at x " + std::to_string(i % picture.Width)
                + ", y " + std::to_string(i / picture.Width) + ", past the end of its palette of "
                + std::to_string(count) + " colours");
        }
    }
}

bool ReadPaletteChunks(
    png_structp png, png_infop info, TPngHeader& header, TIndexedPicture& picture)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    // The pixels are never read, so no size is too large.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png, info);
    header.ColourType = png_get_color_type(png, info);
    header.BitDepth = png_get_bit_depth(png, info);
    ReadPaletteAndAlphas(png, info, picture);
    return true;
}

} // namespace

TIndexedPicture ReadPngPalette(std::span<const uint8_t> bytes, const std::string& name)
{
    const std::string quoted = "\"" + name + "\"";
    TPngErrorText error;
    TPngReader reader(error);
    if (reader.Info() == nullptr)
        throw KelException("pack: out of memory reading " + quoted);
    TMemoryInput input {bytes.data(), bytes.size(), 0};
    png_set_read_fn(reader.Png(), &input, ReadFromMemory);
    TPngHeader header;
    TIndexedPicture picture;
    if (!ReadPaletteChunks(reader.Png(), reader.Info(), header, picture))
        throw KelException("pack: " + quoted + " is not a readable PNG: " + error.Text);
    if (header.ColourType != PNG_COLOR_TYPE_PALETTE)
        throw KelException("pack: the palette " + quoted + " is no indexed PNG");
    return picture;
}

TPngPicture DecodePng(std::span<const uint8_t> bytes, const std::string& name,
    const std::function<void(uint32_t, uint32_t)>& checkSize)
{
    const std::string quoted = "\"" + name + "\"";
    TPngErrorText error;
    TPngReader reader(error);
    if (reader.Info() == nullptr)
        throw KelException("pack: out of memory reading " + quoted);
    const auto unreadable
        = [&] { return KelException("pack: " + quoted + " is not a readable PNG: " + error.Text); };
    TMemoryInput input {bytes.data(), bytes.size(), 0};
    png_set_read_fn(reader.Png(), &input, ReadFromMemory);
    TPngHeader header;
    if (!ReadPngHeader(reader.Png(), reader.Info(), header))
        throw unreadable();
    checkSize(header.Width, header.Height);
    std::size_t rowBytes = 0;
    if (!SetTransforms(reader.Png(), reader.Info(), header, rowBytes))
        throw unreadable();

    TPngPicture result;
    result.Indexed = header.ColourType == PNG_COLOR_TYPE_PALETTE;
    result.Kind = KindText(header.ColourType, header.BitDepth);
    TIndexedPicture& picture = result.Picture;
    picture.Width = header.Width;
    picture.Height = header.Height;
    std::vector<uint8_t> samples(rowBytes * header.Height);
    std::vector<png_bytep> rows(header.Height);
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = samples.data() + y * rowBytes;
    if (!ReadPngRows(reader.Png(), reader.Info(), picture, rows.data()))
        throw unreadable();
    const std::size_t pixels = std::size_t {header.Width} * header.Height;
    if (result.Indexed) {
        picture.Pixels.resize(pixels);
        for (std::size_t y = 0; y < header.Height; ++y)
            std::memcpy(picture.Pixels.data() + y * header.Width, rows[y], header.Width);
        CheckIndices(picture, quoted);
        return result;
    }
    // After the transforms every pixel is RGBA; the depth is 8 or 16 bits.
    const bool wide = header.BitDepth == 16;
    result.Rgba.resize(pixels * 4);
    for (std::size_t y = 0; y < header.Height; ++y) {
        const uint8_t* row = rows[y];
        for (std::size_t i = 0; i < std::size_t {header.Width} * 4; ++i) {
            result.Rgba[y * header.Width * 4 + i] = wide
                ? static_cast<uint16_t>((row[2 * i] << 8) | row[2 * i + 1])
                : static_cast<uint16_t>(row[i] * 257);
        }
    }
    return result;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path, std::size_t maxSize)
{
    const auto fail = [&](const std::string& reason) {
        return KelException("pack: cannot read \"" + path + "\": " + reason);
    };
    TFileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file)
        throw fail(std::strerror(errno));
    struct stat info { };
    if (::fstat(file.Get(), &info) != 0)
        throw fail(std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        throw fail("not a regular file");
    if (static_cast<std::size_t>(info.st_size) > maxSize)
        throw fail("larger than " + std::to_string(maxSize >> 20) + " MiB");
    std::vector<uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.Get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw fail(std::strerror(errno));
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}
