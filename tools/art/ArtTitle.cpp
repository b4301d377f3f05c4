#include "art/ArtBanners.h"

#include "art/ArtColours.h"
#include "art/ArtText.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
constexpr int32_t TitleWidth = 375;
constexpr int32_t TitleHeight = 92;
constexpr int32_t CaptionWidth = 112;
constexpr int32_t CaptionHeight = 58;
constexpr int32_t CaptionRowPitch = 30;

const TArtColour TitleOutline = Rgb(50, 28, 12);
const TArtColour TitleTop = Rgb(255, 236, 170);
const TArtColour TitleBottom = Rgb(220, 150, 58);

// A flourish under the name: two tapering rules from a small compass star, gilded like the
// letters.
void DrawFlourish(cairo_t* cr, const TArtColour& fillTop, const TArtColour& fillBottom)
{
    constexpr double cx = TitleWidth / 2.0;
    constexpr double cy = 76;
    auto shape = [cr]() {
        cairo_new_path(cr);
        for (int32_t side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, cx + side * 14, cy - 2.2);
            cairo_line_to(cr, cx + side * 120, cy);
            cairo_line_to(cr, cx + side * 14, cy + 2.2);
            cairo_close_path(cr);
        }
        for (int32_t i = 0; i < 8; ++i) {
            const double angle = i * TwoPi / 8 - TwoPi / 4;
            const double radius = i % 2 == 0 ? 11 : 4;
            if (i == 0)
                cairo_move_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
            else
                cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
        }
        cairo_close_path(cr);
    };
    cairo_save(cr);
    cairo_translate(cr, 2, 2);
    shape();
    SetColour(cr, Paint::Black, 0.4);
    cairo_fill(cr);
    cairo_restore(cr);
    shape();
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 3);
    SetColour(cr, TitleOutline);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, cy - 11, 0, cy + 11);
    cairo_pattern_add_color_stop_rgb(gold, 0, fillTop.R, fillTop.G, fillTop.B);
    cairo_pattern_add_color_stop_rgb(gold, 1, fillBottom.R, fillBottom.G, fillBottom.B);
    cairo_set_source(cr, gold);
    cairo_fill(cr);
    cairo_pattern_destroy(gold);
}

void DrawName(cairo_t* cr)
{
    const TTextBlock name(
        cr, "Pathwarden", {"URW Bookman", PANGO_WEIGHT_SEMIBOLD, PANGO_STYLE_NORMAL, 58});
    const PangoRectangle ink = name.Ink();
    const double x = std::round((TitleWidth - ink.width) / 2.0);
    const double y = 6;

    name.AddPathAt(x + 3, y + 3);
    SetColour(cr, Paint::Black, 0.45);
    cairo_fill(cr);

    name.AddPathAt(x, y);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 5);
    SetColour(cr, TitleOutline);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, y, 0, y + ink.height);
    cairo_pattern_add_color_stop_rgb(gold, 0, TitleTop.R, TitleTop.G, TitleTop.B);
    cairo_pattern_add_color_stop_rgb(gold, 1, TitleBottom.R, TitleBottom.G, TitleBottom.B);
    cairo_set_source(cr, gold);
    cairo_fill(cr);
    cairo_pattern_destroy(gold);
}

// Captions centre on the gap between the minus buttons (ending at x 83) and the plus buttons
// (starting at x 199), which lies two pixels left of the picture's middle.
void DrawCaption(cairo_t* cr, const char* text, double middleY)
{
    const TTextBlock caption(
        cr, text, {"URW Bookman", PANGO_WEIGHT_SEMIBOLD, PANGO_STYLE_NORMAL, 17});
    const PangoRectangle ink = caption.Ink();
    const double gapMiddle = (83 + 199) / 2.0 - CaptionX;
    const double x = std::round(gapMiddle - ink.width / 2.0);
    const double y = std::round(middleY - ink.height / 2.0);
    SetColour(cr, TitleOutline, 0.8);
    caption.ShowAt(x + 1, y + 1);
    SetColour(cr, Paint::Cream);
    caption.ShowAt(x, y);
}

} // namespace

TArtPicture DrawTitle(const TArtPicture& tile)
{
    TCanvas canvas(TitleWidth, TitleHeight);
    DrawFlourish(canvas.Cr(), TitleTop, TitleBottom);
    DrawName(canvas.Cr());
    return TransparentPicture("warden", canvas, TiledUnderlay(tile, TitleX, TitleY));
}

TArtPicture DrawSizeCaptions(const TArtPicture& tile)
{
    TCanvas canvas(CaptionWidth, CaptionHeight);
    DrawCaption(canvas.Cr(), "Columns", 14);
    DrawCaption(canvas.Cr(), "Rows", 14 + CaptionRowPitch);
    return TransparentPicture("colrow", canvas, TiledUnderlay(tile, CaptionX, CaptionY));
}

std::vector<TArtPicture> DrawBanners(const TArtPicture& tile)
{
    std::vector<TArtPicture> banners;
    banners.push_back(DrawTitle(tile));
    banners.push_back(DrawSizeCaptions(tile));
    banners.push_back(DrawWellDone(tile));
    banners.push_back(DrawClickStart(tile));
    return banners;
}
