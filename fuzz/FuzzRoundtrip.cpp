// Encodes an arbitrary small indexed picture and decodes it again: as a library record, in the
// coding the input forces or the one the encoder chooses, read back through the library reader,
// and as an indexed PNG read back by pack's import. Either way the pixels, and the transparency
// or the palette and its alphas, must come back exactly; a mismatch aborts.
//
// Input: a flags byte (bits 0-2: coding 0-3, else the encoder's choice; bit 3: transparent), the
// width less 1 (two bytes, low first, taken modulo 64), the height less 1 (modulo 64), the
// transparent index, the number of palette alphas; then the pixels, repeated to fill the
// picture. Pictures of several segments are too slow to fuzz; the encoder's tests cover them.
#include "MemoryFile.h"
#include "PngFile.h"

#include "common/KelException.h"
#include "encoder/VX8Encoder.h"
#include "surface/PBMInfo.h"
#include "vx8/VX8Library.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t HeaderSize = 6;
constexpr unsigned MaxSide = 64;

struct TInput {
    TVX8SourceImage Image;
    std::optional<TVX8Coding> Coding;
    std::size_t AlphaCount = 0;
};

TInput ReadInput(const uint8_t* data, std::size_t size)
{
    TInput input;
    const uint8_t flags = data[0];
    if ((flags & 7) < 4)
        input.Coding = static_cast<TVX8Coding>(flags & 7);
    TVX8SourceImage& image = input.Image;
    image.Name = "Pic";
    image.Width = static_cast<uint16_t>(1 + (data[1] | data[2] << 8) % MaxSide);
    image.Height = static_cast<uint16_t>(1 + data[3] % MaxSide);
    image.Transparent = (flags & 8) != 0;
    image.TransparentIndex = data[4];
    input.AlphaCount = data[5];
    image.Pixels.resize(std::size_t {image.Width} * image.Height);
    const std::size_t given = size - HeaderSize;
    for (std::size_t i = 0; i < image.Pixels.size(); ++i)
        image.Pixels[i] = given == 0 ? 0 : data[HeaderSize + i % given];
    return input;
}

void CheckLibraryRoundTrip(const TInput& input)
{
    const TVX8SourceImage& image = input.Image;
    TVX8Palette palette {};
    const TVX8EncodedRecord record = EncodeImageRecord(image, input.Coding);
    const TMemoryFile file(AssembleLibrary(palette, {record}));
    if (!file.Valid())
        return; // no memory for the file: nothing to check
    TVX8Library library;
    library.Open(file.Path(), true);
    const TVX8RecordEntry& entry = library.Records().at(0);
    if (entry.Name != image.Name || entry.Width != image.Width || entry.Height != image.Height
        || entry.Transparent != image.Transparent
        || (image.Transparent && entry.TransparentIndex != image.TransparentIndex))
        std::abort();
    TImageNode* node = library.OpenImage(image.Name);
    TVX8ImageData* data = library.GetImageData(node);
    if (data == nullptr || data->Width != image.Width || data->Height != image.Height)
        std::abort();
    for (int32_t y = 0; y < image.Height; ++y) {
        const uint8_t* row = data->StartLine(0, y);
        const uint8_t* wanted = image.Pixels.data() + std::size_t(y) * image.Width;
        for (int32_t x = 0; x < image.Width; ++x)
            if (row[x] != wanted[x])
                std::abort();
    }
    library.ReleaseImage(node);
}

void CheckPngRoundTrip(const TInput& input)
{
    const TVX8SourceImage& image = input.Image;
    TIndexedPicture picture;
    picture.Width = image.Width;
    picture.Height = image.Height;
    picture.Pixels = image.Pixels;
    uint8_t highest = 0;
    for (uint8_t v : image.Pixels)
        highest = std::max(highest, v);
    for (unsigned i = 0; i <= highest; ++i)
        picture.Palette.push_back(
            {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 3), static_cast<uint8_t>(~i)});
    for (std::size_t i = 0; i < input.AlphaCount && i < picture.Palette.size(); ++i)
        picture.Alpha.push_back(image.Pixels[i % image.Pixels.size()]);
    const std::vector<uint8_t> bytes = EncodeIndexedPng(picture, 1);
    const TPngPicture back = DecodePng(bytes, "roundtrip", [](uint32_t, uint32_t) {});
    if (!back.Indexed || back.Picture.Width != picture.Width
        || back.Picture.Height != picture.Height || back.Picture.Pixels != picture.Pixels
        || back.Picture.Palette != picture.Palette || back.Picture.Alpha != picture.Alpha)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitPBMInfo();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < HeaderSize)
        return 0;
    const TInput input = ReadInput(data, size);
    try {
        CheckLibraryRoundTrip(input);
        CheckPngRoundTrip(input);
    } catch (const KelException& e) {
        // Every picture of this size can be stored and read back.
        std::abort();
    }
    return 0;
}
