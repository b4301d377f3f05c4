#pragma once

#include "encoder/VX8Encoder.h"
#include "platform/Application.h"
#include "support/TempFolder.h"
#include "surface/PBMInfo.h"
#include "vx8/VX8Library.h"

#include <memory>

// A library file with a 32 x 32 "tile" whose pixel (x, y) holds TileValue(x, y), a 20 x 30
// three-face strip "start" (faces of the values 10, 20 and 30, each with a transparent pixel at
// its top-left), and "flat", too low for three faces. Palette entry i shows (i, 255 - i, 3).
class TControlsTestLibrary {
public:
    static uint8_t TileValue(int32_t x, int32_t y)
    {
        return static_cast<uint8_t>(1 + (x + 32 * y) % 250);
    }
    static TColour Colour(uint8_t value) { return MakeColour(value, 255 - value, 3); }
    static TColour TileColour(int32_t x, int32_t y) { return Colour(TileValue(x % 32, y % 32)); }

    TControlsTestLibrary()
    {
        InitPBMInfo();
        TVX8Palette palette {};
        for (int i = 0; i < 256; ++i) {
            palette[4 * i] = 3;
            palette[4 * i + 1] = static_cast<uint8_t>(255 - i);
            palette[4 * i + 2] = static_cast<uint8_t>(i);
        }
        TVX8SourceImage tile {"tile", 32, 32, {}, false, 0};
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                tile.Pixels.push_back(TileValue(x, y));
        TVX8SourceImage strip {"start", 20, 30, {}, true, 0};
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 20; ++x)
                strip.Pixels.push_back(
                    y % 10 == 0 && x == 0 ? 0 : static_cast<uint8_t>(10 * (y / 10 + 1)));
        TVX8SourceImage flat {"flat", 20, 2, std::vector<uint8_t>(40, 7), false, 0};
        WriteLibraryFile(Folder.Path("test.vx8"), palette, {tile, strip, flat});
    }

    std::unique_ptr<TVX8Library> Open() const
    {
        auto library = std::make_unique<TVX8Library>();
        library->Open(Folder.Path("test.vx8"), true);
        return library;
    }

private:
    TTempFolder Folder;
};
