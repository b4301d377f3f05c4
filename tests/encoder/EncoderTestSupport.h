#pragma once

#include "common/KelException.h"
#include "encoder/VX8Encoder.h"
#include "support/TempFolder.h"
#include "support/TestSeed.h"
#include "vx8/VX8Library.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

// A picture whose pixel (x, y) is pixel(x, y).
inline TVX8SourceImage MakeImage(const std::string& name, uint16_t width, uint16_t height,
    const std::function<uint8_t(int, int)>& pixel)
{
    TVX8SourceImage image;
    image.Name = name;
    image.Width = width;
    image.Height = height;
    image.Pixels.resize(size_t {width} * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.Pixels[size_t(y) * width + x] = pixel(x, y);
        }
    }
    return image;
}

inline TVX8Palette TestPalette()
{
    TVX8Palette palette {};
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    return palette;
}

// A generator seeded by TestSeed, so that PW_SEED repeats a failure.
inline std::mt19937 SeededGenerator()
{
    return std::mt19937(TestSeed());
}

// The kinds of picture the codings are made for, and one they cannot help with.
enum class TPictureKind { Noise, Flat, Runs, RowCopies, XorRows, FewColours };
constexpr TPictureKind AllPictureKinds[] = {TPictureKind::Noise, TPictureKind::Flat,
    TPictureKind::Runs, TPictureKind::RowCopies, TPictureKind::XorRows, TPictureKind::FewColours};

// Runs have random lengths up to 300 (longer than one count byte) and random values, so the
// escape bytes turn up among the pixels; copies and exclusive-or refer to the row above in the
// picture, which is the row below in the stored bottom-up order.
inline TVX8SourceImage MakePicture(
    TPictureKind kind, const std::string& name, uint16_t width, uint16_t height, std::mt19937& rng)
{
    TVX8SourceImage image = MakeImage(name, width, height, [](int, int) { return 0; });
    std::vector<uint8_t>& p = image.Pixels;
    auto next = [&](int range) { return static_cast<uint8_t>(rng() % range); };
    int runLeft = 0;
    uint8_t runValue = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        size_t x = i % width;
        bool top = i < width;
        switch (kind) {
        case TPictureKind::Noise:
            p[i] = next(256);
            break;
        case TPictureKind::Flat:
            p[i] = 200;
            break;
        case TPictureKind::Runs:
            if (runLeft-- <= 0) {
                runLeft = 1 + rng() % 300;
                runValue = next(256);
            }
            p[i] = runValue;
            break;
        case TPictureKind::RowCopies:
            p[i] = top || rng() % 16 == 0 ? next(256) : p[i - width];
            break;
        case TPictureKind::XorRows:
            p[i] = top ? next(256)
                       : static_cast<uint8_t>(p[i - width] ^ ((x / 8) % 3 == 1 ? 0x21 : 0));
            break;
        case TPictureKind::FewColours:
            p[i] = next(3) * 85;
            break;
        }
    }
    return image;
}

// The pixels of one image of an open library as its drawing surface shows them, top row first.
inline std::vector<uint8_t> SurfacePixels(TVX8Library& library, const std::string& name)
{
    TImageNode* node = library.OpenImage(name);
    TVX8ImageData* data = library.GetImageData(node);
    std::vector<uint8_t> pixels;
    if (data != nullptr) {
        for (int32_t y = 0; y < data->Height; ++y) {
            const uint8_t* row = data->StartLine(0, y);
            pixels.insert(pixels.end(), row, row + data->Width);
        }
    }
    library.ReleaseImage(node);
    return pixels;
}

// Writes the records as a library file, opens it with the reader and checks that every image
// comes back pixel for pixel with its transparency.
inline void ExpectRoundTrip(
    const std::vector<TVX8SourceImage>& images, const std::vector<TVX8EncodedRecord>& records)
{
    TTempFolder folder;
    std::string path = folder.Path("round.vx8");
    WriteLibraryBytes(path, AssembleLibrary(TestPalette(), records));
    TVX8Library library;
    library.Open(path, true);
    for (const TVX8SourceImage& image : images) {
        SCOPED_TRACE(
            image.Name + " " + std::to_string(image.Width) + " x " + std::to_string(image.Height));
        TImageNode* node = library.OpenImage(image.Name);
        TVX8ImageData* data = library.GetImageData(node);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->Width, image.Width);
        EXPECT_EQ(data->Height, image.Height);
        EXPECT_EQ(data->Transparent, image.Transparent);
        if (image.Transparent) {
            EXPECT_EQ(data->TransparentIndex, image.TransparentIndex);
        }
        library.ReleaseImage(node);
        EXPECT_EQ(SurfacePixels(library, image.Name), image.Pixels);
    }
}

inline void ExpectRoundTrip(
    const std::vector<TVX8SourceImage>& images, std::optional<TVX8Coding> coding = std::nullopt)
{
    std::vector<TVX8EncodedRecord> records;
    records.reserve(images.size());
    for (const TVX8SourceImage& image : images) {
        records.push_back(EncodeImageRecord(image, coding));
    }
    ExpectRoundTrip(images, records);
}

// The message of the KelException that action raises, or "" when it raises none.
inline std::string FailureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const KelException& e) {
        return e.what();
    }
    return "";
}
