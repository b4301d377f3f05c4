#pragma once

#include "play/PlayTestSupport.h"
#include "surface/PBMInfo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The picture library the build draws, the board pictures, and a background painter that tiles
// "tile" as the window's background does.
struct TGamePictures {
    TVX8Library Library;
    std::unique_ptr<TGameImages> Images;
    TImageHold Tile;

    TGamePictures()
    {
        InitPBMInfo();
        Library.Open(PW_BUILD_DIR "/Warden.vx8", true);
        Images = std::make_unique<TGameImages>(Library);
        Tile = TImageHold::Open(Library, "tile");
    }

    TTilePainter Tiles()
    {
        return [this](TVX8ImageData& surface, TPoint p) {
            TVX8ImageData& tile = *Tile.Surface();
            for (int32_t y = -(p.Y % tile.Height); y < surface.Height; y += tile.Height)
                for (int32_t x = -(p.X % tile.Width); x < surface.Width; x += tile.Width)
                    surface.Draw({x, y}, tile, tile.Bounds());
        };
    }
};
