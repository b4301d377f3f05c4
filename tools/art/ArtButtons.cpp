#include "art/ArtButtons.h"

#include "art/ArtColours.h"
#include "art/ArtText.h"

#include <cmath>
#include <functional>
#include <string>

namespace {

enum class TFace { Up = 0, Pressed = 1, Disabled = 2 };

constexpr double CornerRadius = 5;

const TArtColour PlaqueTop = Rgb(248, 234, 200);
const TArtColour PlaqueBottom = Rgb(222, 196, 150);
const TArtColour PressedTop = Rgb(198, 168, 120);
const TArtColour PressedBottom = Rgb(226, 202, 158);
const TArtColour DisabledFill = Rgb(170, 140, 104);
const TArtColour DisabledInk = Rgb(124, 96, 66);
const TArtColour Border = Rgb(58, 34, 16);

// What is drawn on a face: the caption or the sign, in the given colour, shifted when pressed.
using TMarking
    = std::function<void(cairo_t* cr, double centreX, double centreY, const TArtColour& ink)>;

void DrawPlaque(cairo_t* cr, int32_t width, double top, TFace face)
{
    const double height = ButtonFaceHeight;
    RoundedRectangle(cr, 0.5, top + 0.5, width - 1, height - 1, CornerRadius);
    SetColour(cr, Border);
    cairo_fill(cr);

    const double inset = 1.5;
    RoundedRectangle(
        cr, inset, top + inset, width - 2 * inset, height - 2 * inset, CornerRadius - 1);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, top, 0, top + height);
    const TArtColour upper = face == TFace::Up ? PlaqueTop
        : face == TFace::Pressed               ? PressedTop
                                               : DisabledFill;
    const TArtColour lower = face == TFace::Up ? PlaqueBottom
        : face == TFace::Pressed               ? PressedBottom
                                               : Mix(DisabledFill, Border, 0.12);
    cairo_pattern_add_color_stop_rgb(fill, 0, upper.R, upper.G, upper.B);
    cairo_pattern_add_color_stop_rgb(fill, 1, lower.R, lower.G, lower.B);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);

    // A lit upper rim on a raised plaque, a shadowed one on a pressed plaque.
    cairo_save(cr);
    RoundedRectangle(
        cr, inset, top + inset, width - 2 * inset, height - 2 * inset, CornerRadius - 1);
    cairo_clip(cr);
    if (face == TFace::Up) {
        SetColour(cr, Paint::White, 0.7);
        cairo_rectangle(cr, 0, top + 1.5, width, 1);
        cairo_fill(cr);
        SetColour(cr, Border, 0.18);
        cairo_rectangle(cr, 0, top + height - 3.5, width, 2);
        cairo_fill(cr);
    } else if (face == TFace::Pressed) {
        SetColour(cr, Border, 0.35);
        cairo_rectangle(cr, 0, top + 1.5, width, 2);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void DrawFace(cairo_t* cr, int32_t width, double top, TFace face, const TMarking& marking)
{
    DrawPlaque(cr, width, top, face);
    const double shift = face == TFace::Pressed ? 1 : 0;
    const double centreX = width / 2.0 + shift;
    const double centreY = top + ButtonFaceHeight / 2.0 + shift;
    if (face == TFace::Disabled) {
        // Pressed into the plaque: a light edge below the faded ink.
        marking(cr, centreX, centreY + 1, Mix(DisabledFill, Paint::Cream, 0.5));
        marking(cr, centreX, centreY, DisabledInk);
    } else {
        marking(cr, centreX, centreY, Paint::Ink);
    }
}

struct TPlace {
    int32_t X, Y;
};

// The table under a face pixel, averaged over the places where the game shows the button, so
// that the rounded corners melt into the table around it.
TUnderlay TableAround(const TArtPicture& tile, const std::vector<TPlace>& places)
{
    return [&tile, places](int32_t x, int32_t y) {
        TArtColour sum;
        for (const TPlace& place : places) {
            const TArtColour colour
                = TiledUnderlay(tile, place.X, place.Y)(x, y % ButtonFaceHeight);
            sum = {sum.R + colour.R, sum.G + colour.G, sum.B + colour.B};
        }
        return Scale(sum, 1.0 / static_cast<double>(places.size()));
    };
}

TArtPicture DrawStrip(
    const std::string& name, int32_t width, const TMarking& marking, const TUnderlay& table)
{
    TCanvas canvas(width, ButtonFaceHeight * ButtonFaces);
    for (int32_t face = 0; face < ButtonFaces; ++face)
        DrawFace(canvas.Cr(), width, face * ButtonFaceHeight, static_cast<TFace>(face), marking);
    return OpaquePicture(name, canvas, table);
}

TMarking Caption(const std::string& text)
{
    return [text](cairo_t* cr, double centreX, double centreY, const TArtColour& ink) {
        const TTextBlock block(
            cr, text, {"URW Bookman", PANGO_WEIGHT_SEMIBOLD, PANGO_STYLE_NORMAL, 17});
        const PangoRectangle box = block.Ink();
        SetColour(cr, ink);
        block.ShowAt(std::round(centreX - box.width / 2.0), std::round(centreY - box.height / 2.0));
    };
}

// A minus, or a plus when `vertical`, as two rounded bars.
TMarking Sign(bool vertical)
{
    return [vertical](cairo_t* cr, double centreX, double centreY, const TArtColour& ink) {
        constexpr double half = 6.5;
        constexpr double thickness = 3;
        SetColour(cr, ink);
        RoundedRectangle(cr, centreX - half, centreY - thickness / 2, 2 * half, thickness, 1.2);
        cairo_fill(cr);
        if (vertical) {
            RoundedRectangle(cr, centreX - thickness / 2, centreY - half, thickness, 2 * half, 1.2);
            cairo_fill(cr);
        }
    };
}

} // namespace

std::vector<TArtPicture> DrawButtons(const TArtPicture& tile)
{
    std::vector<TArtPicture> strips;
    strips.push_back(DrawStrip("start", 156, Caption("Start"), TableAround(tile, {{299, 329}})));
    strips.push_back(DrawStrip("exit", 156, Caption("Exit"), TableAround(tile, {{299, 359}})));
    strips.push_back(
        DrawStrip("min_btn", 40, Sign(false), TableAround(tile, {{43, 329}, {43, 359}})));
    strips.push_back(
        DrawStrip("plus_btn", 40, Sign(true), TableAround(tile, {{199, 329}, {199, 359}})));
    return strips;
}
