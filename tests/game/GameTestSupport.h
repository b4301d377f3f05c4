#pragma once

#include "game/WardenPlay.h"
#include "puzzle/ScriptedRandom.h"
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

inline uint8_t PixelOf(TVX8ImageData& surface, int32_t x, int32_t y)
{
    const uint8_t value = *surface.StartLine(x, y);
    surface.UnlockSegment(x, y);
    return value;
}

inline std::vector<uint8_t> PixelsOf(TVX8ImageData& surface)
{
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < surface.Height; ++y)
        for (int32_t x = 0; x < surface.Width; ++x)
            pixels.push_back(PixelOf(surface, x, y));
    return pixels;
}

// Whether every opaque pixel of the source rectangle shows on the surface at p (clipped).
inline bool Shows(TVX8ImageData& surface, TPoint p, TVX8ImageData& source, TRect r)
{
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        for (int32_t x = r.Left; x < r.Right; ++x) {
            const int32_t sx = p.X + x - r.Left, sy = p.Y + y - r.Top;
            const uint8_t v = PixelOf(source, x, y);
            if (sx < surface.Width && sy < surface.Height && v != source.TransparentKey()
                && PixelOf(surface, sx, sy) != v)
                return false;
        }
    return true;
}

// A window stand-in: records every picture shown on a board, the timer and the buttons.
class TRecordingScreen : public TWardenScreen {
public:
    struct TShown {
        TBoardKind Kind;
        bool Frame; // an animation frame rather than the board's own surface
        std::vector<uint8_t> Pixels;
    };
    explicit TRecordingScreen(const TGameImages& images)
        : Images(images)
    {
    }

    TPoint BoardPosition(TBoardKind kind) const override
    {
        return kind == TBoardKind::Play ? TPoint {37, 104} : TPoint {273, 104};
    }
    void ShowBoard(TBoardKind kind, TVX8ImageData* s) override
    {
        Shown.push_back({kind, s != Images.PlayBoard && s != Images.PreviewBoard, PixelsOf(*s)});
    }
    void StartGameTimer(uint32_t interval) override { Interval = interval, TimerOn = true; }
    void StopGameTimer() override { TimerOn = false; }
    void EnableControls(bool idle) override { Idle = idle; }
    void GameEvent(TPlayEvent event) override
    {
        if (Listener != nullptr)
            Listener->PlayEvent(event);
    }

    const TGameImages& Images;
    std::vector<TShown> Shown;
    bool TimerOn = false;
    uint32_t Interval = 0;
    bool Idle = false;
    TPlayListener* Listener = nullptr;
};

// The shortest sequence of arrow keys that turns a 3 x 3 current board into its target.
std::string SolvingKeys(const TPuzzleBoard& board);
