#include "art/ArtBackground.h"

#include "art/ArtColours.h"
#include "art/ArtNoise.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

double Clamp01(double value)
{
    return value < 0 ? 0 : (value > 1 ? 1 : value);
}

// Tone of the wood from 0 (dark grain) to 1 (light wood) at a pixel centre: long fibres along
// the planks, bent a little by a slow warp, over a few broad growth rings.
double WoodTone(double x, double y)
{
    static const TPeriodicNoise warp(11, TileSize, 2, 2);
    static const TPeriodicNoise fibres(23, TileSize, 2, 20);
    static const TPeriodicNoise fine(31, TileSize, 3, 56);
    static const TPeriodicNoise patches(37, TileSize, 2, 2);
    constexpr int32_t rings = 3;
    const double bent = y + 5 * warp.Fractal(x, y, 2);
    const double ring = 0.5 + 0.5 * std::sin(TwoPi * (rings * bent / TileSize));
    const double fibre = fibres.Fractal(x, bent, 2);
    const double thread = fine.At(x, bent);
    const double patch = patches.Fractal(x, y, 2);
    return Clamp01(0.52 + 0.34 * fibre + 0.14 * thread + 0.12 * (ring - 0.5) + 0.08 * patch);
}

TArtColour WoodColour(double tone)
{
    if (tone < 0.5)
        return Mix(Paint::WoodDark, Paint::WoodMid, tone * 2);
    return Mix(Paint::WoodMid, Paint::WoodLight, (tone - 0.5) * 2);
}

// A short tuft of blades rising from a base point, drawn in the meadow's darker green.
void DrawTuft(cairo_t* cr, double x, double y, double size)
{
    cairo_set_line_width(cr, 0.9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, Paint::GrassTuft, 0.6);
    const double blades[][2] = {{-1.6, -0.8}, {0, -1.2}, {1.5, -0.9}};
    for (const auto& blade : blades) {
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + blade[0] * size, y + blade[1] * size * 1.6);
        cairo_stroke(cr);
    }
}

} // namespace

TArtPicture DrawTableTile()
{
    TArtPicture tile("tile", TileSize, TileSize, false);
    for (int32_t y = 0; y < TileSize; ++y) {
        for (int32_t x = 0; x < TileSize; ++x)
            tile.At(x, y) = WoodColour(WoodTone(x + 0.5, y + 0.5));
    }
    return tile;
}

TArtPicture DrawEmptyCell()
{
    static const TPeriodicNoise mottle(5, CellSize, 3, 3);
    TCanvas canvas(CellSize, CellSize);
    cairo_t* cr = canvas.Cr();
    for (int32_t y = 0; y < CellSize; ++y) {
        for (int32_t x = 0; x < CellSize; ++x) {
            const double tone = mottle.Fractal(x + 0.5, y + 0.5, 2);
            const TArtColour colour = tone < 0
                ? Mix(Paint::GrassMid, Paint::GrassDark, -tone * 1.2)
                : Mix(Paint::GrassMid, Paint::GrassLight, tone * 1.2);
            SetColour(cr, colour);
            cairo_rectangle(cr, x, y, 1, 1);
            cairo_fill(cr);
        }
    }
    // Two tufts between the road bands, where a tile with roads still shows meadow.
    DrawTuft(cr, 6.5, 8.5, 1.3);
    DrawTuft(cr, 25.5, 26.5, 1.2);
    return OpaquePicture("empty", canvas, FlatUnderlay(Paint::GrassMid));
}
