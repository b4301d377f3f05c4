#pragma once

#include "art/ArtLibrary.h"
#include "play/BoardPainter.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>

// A palette-index surface that draws the way the game's surfaces do: clipped, and skipping the
// transparent key of transparent sources.
class TIndexedCanvas {
public:
    TIndexedCanvas(int32_t width, int32_t height);
    void Draw(const TIndexedPicture& source, int32_t srcX, int32_t srcY, int32_t width,
        int32_t height, int32_t x, int32_t y);
    void DrawWhole(const TIndexedPicture& source, int32_t x, int32_t y);
    void HorzLine(int32_t x, int32_t y, int32_t length, uint8_t index);
    void VertLine(int32_t x, int32_t y, int32_t length, uint8_t index);
    // Repeats the tile as the window's background would show it from window position (wx, wy).
    void PaintTiles(const TIndexedPicture& tile, int32_t wx, int32_t wy);
    const TIndexedPicture& Picture() const { return FPicture; }

private:
    TIndexedPicture FPicture;
};

// A board of road cells for the mock-ups: arms as bits, north first, clockwise.
struct TMockBoard {
    int32_t Cols = 3;
    int32_t Rows = 3;
    std::array<uint8_t, 25> Arms {};
    uint8_t& At(int32_t col, int32_t row) { return Arms[static_cast<std::size_t>(row * 5 + col)]; }
    uint8_t At(int32_t col, int32_t row) const
    {
        return Arms[static_cast<std::size_t>(row * 5 + col)];
    }
};

// A connected network of roads of every kind, the same on every run.
TMockBoard SampleBoard(int32_t cols, int32_t rows, uint32_t seed);
// The board turned by one column rotation, as a player would see it in a game.
TMockBoard RotateColumn(const TMockBoard& board, int32_t col, int32_t steps);

// Every cell linked to all of its neighbours: each kind of junction and crossing at once.
TMockBoard FullBoard(int32_t cols, int32_t rows);

enum class TWindowState { Idle, Playing, Won };

// The game's own board painter on the pictures of an art library, which is written to a
// temporary library file and opened as the game opens its own.
class TMockup {
public:
    explicit TMockup(const TArtLibrary& library);
    ~TMockup();
    TMockup(const TMockup&) = delete;
    TMockup& operator=(const TMockup&) = delete;

    // One board surface (208 x 208) drawn in a tile drawing mode: 0 with grid lines, 1 flat,
    // 2 raised.
    TIndexedPicture Board(const TMockBoard& board, int32_t mode);
    // The whole 517 x 403 game window in a state, with the game's layout; its boards are drawn
    // as the game draws them, while playing with the up arrow of column 2 pressed.
    TIndexedPicture Window(TWindowState state, const TMockBoard& target, const TMockBoard& current);

private:
    struct TOpened;
    const TArtLibrary& FArt;
    std::filesystem::path FFile;
    std::unique_ptr<TOpened> FOpened;
};
