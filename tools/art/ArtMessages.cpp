#include "art/ArtBanners.h"

#include "art/ArtColours.h"
#include "art/ArtText.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double CardLeft = 14;
constexpr double CardTop = 16;
constexpr double CardSize = 178;
constexpr double TextWidth = 150;

const TArtColour CardEdge = Rgb(92, 58, 28);

// A parchment card with a drop shadow on the table and a double rule inside its edge.
void DrawCard(cairo_t* cr)
{
    for (int32_t spread = 3; spread >= 1; --spread) {
        RoundedRectangle(cr, CardLeft + 2 - spread + 3, CardTop + 2 - spread + 4,
            CardSize + 2 * spread - 4, CardSize + 2 * spread - 4, 9);
        SetColour(cr, Paint::Black, 0.14);
        cairo_fill(cr);
    }
    RoundedRectangle(cr, CardLeft, CardTop, CardSize, CardSize, 8);
    SetColour(cr, CardEdge);
    cairo_fill(cr);
    RoundedRectangle(cr, CardLeft + 2, CardTop + 2, CardSize - 4, CardSize - 4, 6.5);
    cairo_pattern_t* paper
        = cairo_pattern_create_radial(CardLeft + CardSize / 2, CardTop + CardSize / 2, 20,
            CardLeft + CardSize / 2, CardTop + CardSize / 2, CardSize * 0.75);
    const TArtColour light = Rgb(250, 240, 214);
    const TArtColour aged = Rgb(226, 204, 160);
    cairo_pattern_add_color_stop_rgb(paper, 0, light.R, light.G, light.B);
    cairo_pattern_add_color_stop_rgb(paper, 1, aged.R, aged.G, aged.B);
    cairo_set_source(cr, paper);
    cairo_fill(cr);
    cairo_pattern_destroy(paper);
    RoundedRectangle(cr, CardLeft + 6.5, CardTop + 6.5, CardSize - 13, CardSize - 13, 4);
    cairo_set_line_width(cr, 1);
    SetColour(cr, CardEdge, 0.6);
    cairo_stroke(cr);
}

void DrawCentredText(cairo_t* cr, const std::string& text, const TFontSpec& font, double top,
    const TArtColour& colour)
{
    TTextBlock block(cr, text, font);
    block.SetWrap(TextWidth);
    const PangoRectangle ink = block.Ink();
    SetColour(cr, colour);
    block.ShowAt(std::round(CardLeft + (CardSize - ink.width) / 2.0), top);
}

// A prize rosette: pleated gold disc with two ribbon tails.
void DrawRosette(cairo_t* cr, double cx, double cy)
{
    for (int32_t side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, cx + side * 4, cy + 4);
        cairo_line_to(cr, cx + side * 15, cy + 34);
        cairo_line_to(cr, cx + side * 9, cy + 30);
        cairo_line_to(cr, cx + side * 6, cy + 37);
        cairo_line_to(cr, cx - side * 3, cy + 8);
        cairo_close_path(cr);
        SetColour(cr, Paint::BarnRed);
        cairo_fill_preserve(cr);
        SetColour(cr, CardEdge);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    constexpr int32_t pleats = 16;
    cairo_new_path(cr);
    for (int32_t i = 0; i <= 2 * pleats; ++i) {
        const double angle = i * Pi / pleats;
        const double radius = i % 2 == 0 ? 21 : 18;
        cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(cr);
    SetColour(cr, Paint::Gold);
    cairo_fill_preserve(cr);
    SetColour(cr, CardEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, 13, 0, 2 * Pi);
    cairo_pattern_t* medal = cairo_pattern_create_radial(cx - 4, cy - 5, 1, cx, cy, 13);
    cairo_pattern_add_color_stop_rgb(medal, 0, 1.0, 0.94, 0.72);
    cairo_pattern_add_color_stop_rgb(medal, 1, 0.82, 0.56, 0.20);
    cairo_set_source(cr, medal);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(medal);
    SetColour(cr, CardEdge);
    cairo_stroke(cr);
    // A star on the medal.
    cairo_new_path(cr);
    for (int32_t i = 0; i < 10; ++i) {
        const double angle = -Pi / 2 + i * Pi / 5;
        const double radius = i % 2 == 0 ? 8 : 3.4;
        cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(cr);
    SetColour(cr, Paint::Cream);
    cairo_fill(cr);
}

// A finger post at a crossroads: two boards pointing different ways.
void DrawSignpost(cairo_t* cr, double cx, double groundY)
{
    cairo_rectangle(cr, cx - 2, groundY - 44, 4, 44);
    SetColour(cr, Rgb(110, 70, 36));
    cairo_fill_preserve(cr);
    SetColour(cr, CardEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    auto board = [&](double y, int32_t side, const TArtColour& colour) {
        const double tip = cx + side * 24;
        const double tail = cx - side * 8;
        cairo_move_to(cr, tail, y);
        cairo_line_to(cr, tip - side * 6, y);
        cairo_line_to(cr, tip, y + 5);
        cairo_line_to(cr, tip - side * 6, y + 10);
        cairo_line_to(cr, tail, y + 10);
        cairo_close_path(cr);
        SetColour(cr, colour);
        cairo_fill_preserve(cr);
        SetColour(cr, CardEdge);
        cairo_stroke(cr);
    };
    board(groundY - 42, 1, Paint::Cream);
    board(groundY - 28, -1, Rgb(232, 206, 150));
    cairo_move_to(cr, cx - 26, groundY);
    cairo_curve_to(cr, cx - 10, groundY - 4, cx + 10, groundY - 4, cx + 26, groundY);
    SetColour(cr, Paint::GrassMid);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

TFontSpec Heading()
{
    return {"URW Bookman", PANGO_WEIGHT_SEMIBOLD, PANGO_STYLE_NORMAL, 25};
}

TFontSpec Body()
{
    return {"C059", PANGO_WEIGHT_NORMAL, PANGO_STYLE_ITALIC, 14};
}

} // namespace

TArtPicture DrawWellDone(const TArtPicture& tile)
{
    TCanvas canvas(MessageSize, MessageSize);
    cairo_t* cr = canvas.Cr();
    DrawCard(cr);
    DrawRosette(cr, CardLeft + CardSize / 2, CardTop + 40);
    DrawCentredText(cr, "Well done!", Heading(), CardTop + 90, Paint::BarnRed);
    DrawCentredText(cr, "Every road is back where it belongs.", Body(), CardTop + 124, Paint::Ink);
    return TransparentPicture("welldone", canvas, TiledUnderlay(tile, MessageX, MessageY));
}

TArtPicture DrawClickStart(const TArtPicture& tile)
{
    TCanvas canvas(MessageSize, MessageSize);
    cairo_t* cr = canvas.Cr();
    DrawCard(cr);
    DrawSignpost(cr, CardLeft + CardSize / 2, CardTop + 68);
    DrawCentredText(cr, "Press Start", Heading(), CardTop + 84, Paint::BarnRed);
    DrawCentredText(
        cr, "to scramble the roads,\nthen set them right.", Body(), CardTop + 120, Paint::Ink);
    return TransparentPicture("clicksr", canvas, TiledUnderlay(tile, MessageX, MessageY));
}
