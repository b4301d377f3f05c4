#include "VX8TestFiles.h"
#include "common/KelException.h"
#include "support/TestSeed.h"
#include "surface/PBMInfo.h"
#include "vx8/VX8Library.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

// Records in every coding, so that mutations reach every path of the reader and decoder.
TBytes MutationBase()
{
    TTestRecord lines = RawLineRecord("lines", 6, 3, 4);
    lines.Segments[0].Stored
        = {0, 1, 2, 3, 4, 5, 6, 1, 9, 0xF1, 7, 0xF0, 3, 8, 0xF0, 2, 0, 2, 0xF0, 6, 1};
    TTestRecord runs = RawLineRecord("runs", 5, 2, 0);
    runs.Segments[0].Flags |= TVX8ImageSegment::FlagRunsOnly;
    runs.Segments[0].Stored = {1, 0xF0, 7, 2, 0xF1, 0xF0, 0xF1, 3};
    TTestRecord plain = PlainRecord("plain", 256, 256, 0);
    plain.Transparent = 1;
    return LibraryBytes({lines, runs, RawLineRecord("tall", 300, 220, 9), plain});
}

// Opens the library and uses every image it lists; only the system's own failures may come out.
void UseLibrary(const TBytes& bytes)
{
    TTempFile file(bytes);
    TVX8Library library;
    library.Open(file.Path(), true);
    TImageNode* canvas = library.CreateImage("canvas", 64, 64);
    TVX8ImageData* target = library.GetImageData(canvas);
    TPixelBuffer pixels(80, 80);
    TDeviceContext dc(pixels);
    for (const auto& [name, offset] : library.ImageDirectory()) {
        try {
            TVX8ImageData* source = library.GetImageData(library.OpenImage(name));
            if (source == nullptr)
                continue;
            target->Draw({-3, 5}, *source, {-1, -2, 70, 300});
            source->Display(dc, {0, 0}, source->Bounds());
        } catch (const KelException&) {
        }
    }
    target->FlushDamage(dc, {1, 1});
}

TEST(LibraryMutation, MutatedFilesFailWithTheSystemsMessagesOnly)
{
    InitPBMInfo();
    const TBytes base = MutationBase();
    ASSERT_NO_THROW(UseLibrary(base));
    std::mt19937 random(TestSeed());
    const char* roundsSetting = std::getenv("PW_MUTATION_ROUNDS");
    const int rounds = roundsSetting != nullptr ? std::atoi(roundsSetting) : 150;
    for (int round = 0; round < rounds; ++round) {
        TBytes bytes = base;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            // Half of the changes go to the small records at the front, where the structure is.
            const std::size_t span = random() % 2 == 0 ? 160 : bytes.size() - 1030;
            const std::size_t at = 1030 + random() % span;
            bytes[at] = static_cast<uint8_t>(random());
        }
        if (random() % 8 == 0)
            bytes.resize(1030 + random() % (bytes.size() - 1030));
        try {
            UseLibrary(bytes);
        } catch (const KelException&) {
        }
    }
}

} // namespace
