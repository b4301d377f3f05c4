#include "art/ArtIcons.h"

#include "art/ArtColours.h"
#include "art/ArtImage.h"
#include "common/KelException.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
// Both pictures are drawn on a grid of this many units and scaled to their size.
constexpr double IconUnits = 256;
constexpr double LogoUnits = 98;

const TArtColour GoldLight = Rgb(255, 236, 170);
const TArtColour GoldDeep = Rgb(220, 150, 58);
const TArtColour Outline = Rgb(50, 28, 12);
const TArtColour SkyTop = Rgb(132, 184, 224);
const TArtColour Wheat = Rgb(222, 184, 92);
const TArtColour WheatDark = Rgb(176, 128, 52);

struct TPatternRelease {
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
using TPattern = std::unique_ptr<cairo_pattern_t, TPatternRelease>;

TPattern Linear(double y0, double y1, const TArtColour& top, const TArtColour& bottom)
{
    TPattern pattern(cairo_pattern_create_linear(0, y0, 0, y1));
    cairo_pattern_add_color_stop_rgb(pattern.get(), 0, top.R, top.G, top.B);
    cairo_pattern_add_color_stop_rgb(pattern.get(), 1, bottom.R, bottom.G, bottom.B);
    return pattern;
}

TPattern Radial(
    double cx, double cy, double radius, const TArtColour& inner, const TArtColour& outer)
{
    TPattern pattern(cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius));
    cairo_pattern_add_color_stop_rgb(pattern.get(), 0, inner.R, inner.G, inner.B);
    cairo_pattern_add_color_stop_rgb(pattern.get(), 1, outer.R, outer.G, outer.B);
    return pattern;
}

void Fill(cairo_t* cr, const TPattern& pattern)
{
    cairo_set_source(cr, pattern.get());
    cairo_fill(cr);
}

// A line at least one pixel wide whatever the scale, so outlines survive at 16 pixels.
void SetLineWidth(cairo_t* cr, double units, double scale)
{
    cairo_set_line_width(cr, std::max(units, 1.0 / scale));
}

// The compass star of the title's flourish, with eight points of two lengths.
void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner)
{
    cairo_new_path(cr);
    for (int32_t i = 0; i < 16; ++i) {
        const double angle = i * TwoPi / 16 - TwoPi / 4;
        const double radius = i % 4 == 0 ? outer : (i % 2 == 0 ? outer * 0.55 : inner);
        cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(cr);
}

void DrawFrame(cairo_t* cr, double scale, bool detailed)
{
    RoundedRectangle(cr, 8, 8, 240, 240, 44);
    Fill(cr, Linear(8, 248, Paint::WoodLight, Paint::WoodDark));
    if (detailed) {
        cairo_save(cr);
        RoundedRectangle(cr, 8, 8, 240, 240, 44);
        cairo_clip(cr);
        for (int32_t line = 0; line < 9; ++line) {
            const double y = 22 + line * 27;
            cairo_move_to(cr, 0, y);
            cairo_curve_to(cr, 80, y - 9 + line % 3 * 4, 170, y + 10, 256, y - 3);
        }
        SetColour(cr, Paint::WoodDark, 0.45);
        SetLineWidth(cr, 3, scale);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    RoundedRectangle(cr, 8, 8, 240, 240, 44);
    SetColour(cr, Paint::EdgeLine);
    SetLineWidth(cr, 6, scale);
    cairo_stroke(cr);
}

void MeadowPath(cairo_t* cr)
{
    RoundedRectangle(cr, 40, 40, 176, 176, 18);
}

void DrawMeadow(cairo_t* cr, double scale, bool detailed)
{
    MeadowPath(cr);
    Fill(cr, Radial(110, 100, 150, Paint::GrassLight, Paint::GrassDark));
    if (detailed) {
        cairo_save(cr);
        MeadowPath(cr);
        cairo_clip(cr);
        for (const double at : {98.7, 157.3}) {
            cairo_move_to(cr, at, 40);
            cairo_line_to(cr, at, 216);
            cairo_move_to(cr, 40, at);
            cairo_line_to(cr, 216, at);
        }
        SetColour(cr, Paint::GridLine, 0.35);
        SetLineWidth(cr, 2.5, scale);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

// Three roads meet at a crossing: one from the west, one from the south, a diagonal to the
// north-east, as on the game's tiles.
void RoadPath(cairo_t* cr)
{
    cairo_new_path(cr);
    cairo_move_to(cr, 20, 140);
    cairo_line_to(cr, 128, 140);
    cairo_line_to(cr, 236, 32);
    cairo_move_to(cr, 128, 140);
    cairo_line_to(cr, 128, 236);
}

void DrawRoads(cairo_t* cr, double scale, bool detailed)
{
    cairo_save(cr);
    MeadowPath(cr);
    cairo_clip(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_save(cr);
    cairo_translate(cr, 4, 6);
    RoadPath(cr);
    SetColour(cr, Paint::RoadShadow, 0.5);
    cairo_set_line_width(cr, 46);
    cairo_stroke(cr);
    cairo_restore(cr);
    RoadPath(cr);
    SetColour(cr, Paint::RoadRim);
    cairo_set_line_width(cr, 44);
    cairo_stroke(cr);
    RoadPath(cr);
    SetColour(cr, Paint::Road);
    cairo_set_line_width(cr, 32);
    cairo_stroke(cr);
    if (detailed) {
        cairo_translate(cr, -3, -4);
        RoadPath(cr);
        SetColour(cr, Paint::RoadHighlight, 0.6);
        SetLineWidth(cr, 7, scale);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    MeadowPath(cr);
    SetColour(cr, Paint::EdgeLine);
    SetLineWidth(cr, 5, scale);
    cairo_stroke(cr);
}

// Small sizes get a thinner outline, or the star would drown in it.
void DrawWardenStar(cairo_t* cr, double scale, bool detailed)
{
    StarPath(cr, 128 + 5, 140 + 6, 50, 14);
    SetColour(cr, Paint::Black, 0.4);
    cairo_fill(cr);
    StarPath(cr, 128, 140, 50, 14);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, Outline, detailed ? 1 : 0.7);
    if (detailed)
        SetLineWidth(cr, 7, scale);
    else
        cairo_set_line_width(cr, 7);
    cairo_stroke_preserve(cr);
    Fill(cr, Linear(90, 190, GoldLight, GoldDeep));
}

void LarkPath(cairo_t* cr, double x, double y, double span)
{
    const double s = span / 30;
    cairo_new_path(cr);
    cairo_move_to(cr, x - 15 * s, y - 6 * s);
    cairo_curve_to(cr, x - 9 * s, y - 8 * s, x - 4 * s, y - 4 * s, x - 1 * s, y + 1 * s);
    cairo_curve_to(cr, x + 1 * s, y - 5 * s, x + 7 * s, y - 11 * s, x + 15 * s, y - 10 * s);
    cairo_curve_to(cr, x + 8 * s, y - 6 * s, x + 4 * s, y - 1 * s, x + 2 * s, y + 4 * s);
    cairo_curve_to(cr, x + 0 * s, y + 5 * s, x - 2 * s, y + 4 * s, x - 3 * s, y + 3 * s);
    cairo_curve_to(cr, x - 6 * s, y - 2 * s, x - 10 * s, y - 5 * s, x - 15 * s, y - 6 * s);
    cairo_close_path(cr);
}

void DrawLandscape(cairo_t* cr)
{
    cairo_rectangle(cr, 0, 0, LogoUnits, LogoUnits);
    Fill(cr, Linear(8, 62, SkyTop, Paint::Cream));
    cairo_arc(cr, 66, 34, 16, 0, TwoPi);
    Fill(cr, Radial(66, 34, 16, Rgb(255, 246, 214), Paint::Cream));
    cairo_arc(cr, 66, 34, 8, 0, TwoPi);
    SetColour(cr, Paint::Gold);
    cairo_fill(cr);

    cairo_move_to(cr, 0, 60);
    cairo_curve_to(cr, 30, 50, 60, 52, 98, 58);
    cairo_line_to(cr, 98, 98);
    cairo_line_to(cr, 0, 98);
    cairo_close_path(cr);
    Fill(cr, Linear(50, 70, Paint::GrassLight, Paint::GrassDark));

    cairo_move_to(cr, 0, 70);
    cairo_curve_to(cr, 35, 64, 65, 66, 98, 72);
    cairo_line_to(cr, 98, 98);
    cairo_line_to(cr, 0, 98);
    cairo_close_path(cr);
    Fill(cr, Linear(64, 98, Wheat, WheatDark));
    for (int32_t furrow = -6; furrow <= 6; ++furrow) {
        cairo_move_to(cr, 49 + furrow * 3.5, 68);
        cairo_line_to(cr, 49 + furrow * 16, 98);
    }
    SetColour(cr, WheatDark, 0.7);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    LarkPath(cr, 36, 36, 30);
    SetColour(cr, Paint::Ink);
    cairo_fill(cr);
    LarkPath(cr, 22, 46, 13);
    cairo_fill(cr);
}

void Save(cairo_surface_t* surface, const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error || cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw KelException("Cannot write \"" + path.string() + "\"");
}

void WriteIcon(int32_t size, const std::filesystem::path& path)
{
    const TCanvas canvas(size, size);
    DrawAppIcon(canvas.Cr(), size);
    Save(canvas.Surface(), path);
}

} // namespace

void DrawAppIcon(cairo_t* cr, int32_t size)
{
    const double scale = size / IconUnits;
    const bool detailed = size >= 48;
    cairo_save(cr);
    cairo_scale(cr, scale, scale);
    DrawFrame(cr, scale, detailed);
    DrawMeadow(cr, scale, detailed);
    DrawRoads(cr, scale, detailed);
    DrawWardenStar(cr, scale, detailed);
    cairo_restore(cr);
}

void DrawMakerLogo(cairo_t* cr, int32_t size)
{
    constexpr double cx = LogoUnits / 2;
    constexpr double ring = 47;
    constexpr double inner = 39;
    const double scale = size / LogoUnits;
    cairo_save(cr);
    cairo_scale(cr, scale, scale);
    cairo_arc(cr, cx + 1.5, cx + 2, ring, 0, TwoPi);
    SetColour(cr, Paint::Black, 0.3);
    cairo_fill(cr);
    cairo_arc(cr, cx, cx, ring - 0.75, 0, TwoPi);
    SetColour(cr, Outline);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke_preserve(cr);
    Fill(cr, Linear(cx - ring, cx + ring, GoldLight, GoldDeep));
    for (int32_t bead = 0; bead < 24; ++bead) {
        const double angle = bead * TwoPi / 24;
        cairo_arc(cr, cx + 43 * std::cos(angle), cx + 43 * std::sin(angle), 1.1, 0, TwoPi);
    }
    SetColour(cr, Outline, 0.55);
    cairo_fill(cr);

    cairo_save(cr);
    cairo_arc(cr, cx, cx, inner, 0, TwoPi);
    cairo_clip(cr);
    DrawLandscape(cr);
    cairo_restore(cr);
    cairo_arc(cr, cx, cx, inner, 0, TwoPi);
    SetColour(cr, Outline);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void WriteDesktopPictures(const std::string& folder)
{
    const std::filesystem::path root(folder);
    for (const int32_t size : AppIconSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        WriteIcon(size, root / "icons" / "hicolor" / name / "apps" / "pathwarden.png");
    }
    const TCanvas logo(LogoSize, LogoSize);
    DrawMakerLogo(logo.Cr(), LogoSize);
    Save(logo.Surface(), root / "about-logo.png");
}
