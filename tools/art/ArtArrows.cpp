#include "art/ArtArrows.h"

#include "art/ArtColours.h"
#include "art/ArtText.h"

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double PinRadius = 8.3;
constexpr double PinOffset = 1.4; // the pin's round head sits this far behind the middle
constexpr double TipReach = 9.6; // the tip lies this far ahead of the middle

enum class TDirection { Up = 0, Right = 1, Down = 2, Left = 3 };

struct TArrowSet {
    const char* Name;
    TDirection Direction;
    const char* Keys;
};

const TArrowSet ArrowSets[]
    = {{"arru", TDirection::Up, "ABCDE"}, {"arrl", TDirection::Left, "12345"},
        {"arrd", TDirection::Down, "DEFGHIJ"}, {"arrr", TDirection::Right, "4567890"}};

const TArtColour PinFace = Paint::BarnRed;
const TArtColour PinLight = Rgb(222, 104, 70);
const TArtColour PinDark = Rgb(120, 34, 22);
const TArtColour PinOutline = Rgb(66, 20, 12);
const TArtColour PinPressed = Rgb(146, 44, 30);
const TArtColour Letter = Paint::Cream;

// The pin's outline for an arrow pointing up, turned to the direction about the frame's
// middle (10, 10): a round head with a point, the point's edges tangent to the head.
void PinPath(cairo_t* cr, TDirection direction, double top)
{
    cairo_save(cr);
    cairo_translate(cr, ArrowSize / 2.0, top + ArrowSize / 2.0);
    cairo_rotate(cr, static_cast<int>(direction) * Pi / 2);
    const double reach = TipReach + PinOffset;
    const double spread = std::acos(PinRadius / reach);
    cairo_new_path(cr);
    cairo_arc(cr, 0, PinOffset, PinRadius, -Pi / 2 + spread, 3 * Pi / 2 - spread);
    cairo_line_to(cr, 0, -TipReach);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// Where the key is centred: the middle of the pin's round head.
void HeadCentre(TDirection direction, double* x, double* y)
{
    const double dx[] = {0, -PinOffset, 0, PinOffset};
    const double dy[] = {PinOffset, 0, -PinOffset, 0};
    *x = ArrowSize / 2.0 + dx[static_cast<int>(direction)];
    *y = ArrowSize / 2.0 + dy[static_cast<int>(direction)];
}

void DrawKey(cairo_t* cr, const std::string& key, double centreX, double centreY, double alpha)
{
    const TTextBlock text(cr, key, {"DejaVu Sans", PANGO_WEIGHT_BOLD, PANGO_STYLE_NORMAL, 11.5});
    const PangoRectangle ink = text.Ink();
    const double x = std::round(centreX - ink.width / 2.0);
    const double y = std::round(centreY - ink.height / 2.0);
    SetColour(cr, PinOutline, 0.55 * alpha);
    text.ShowAt(x + 1, y + 1);
    SetColour(cr, Letter, alpha);
    text.ShowAt(x, y);
}

// The face of one frame: drawn over the whole frame, the silhouette decides later what shows.
void DrawFace(cairo_t* cr, TDirection direction, double top, const std::string& key, bool pressed)
{
    SetColour(cr, PinOutline);
    cairo_rectangle(cr, 0, top, ArrowSize, ArrowSize);
    cairo_fill(cr);

    double cx = 0;
    double cy = 0;
    HeadCentre(direction, &cx, &cy);
    cy += top;
    cairo_save(cr);
    PinPath(cr, direction, top);
    cairo_clip(cr);
    cairo_pattern_t* body = cairo_pattern_create_radial(cx - 3, cy - 4, 1, cx, cy, 12);
    const TArtColour centre = pressed ? PinPressed : PinLight;
    const TArtColour edge = pressed ? Mix(PinDark, PinOutline, 0.3) : PinFace;
    cairo_pattern_add_color_stop_rgb(body, 0, centre.R, centre.G, centre.B);
    cairo_pattern_add_color_stop_rgb(body, 0.8, edge.R, edge.G, edge.B);
    cairo_pattern_add_color_stop_rgb(body, 1, PinDark.R, PinDark.G, PinDark.B);
    cairo_set_source(cr, body);
    cairo_paint(cr);
    cairo_pattern_destroy(body);
    // A pressed pin sits in its own shadow; a released one catches light on its upper left.
    PinPath(cr, direction, top);
    cairo_set_line_width(cr, pressed ? 3.0 : 2.0);
    SetColour(cr, pressed ? PinOutline : PinDark, pressed ? 0.7 : 0.5);
    cairo_stroke(cr);
    if (!pressed) {
        cairo_arc(cr, cx, cy, PinRadius - 2.2, Pi * 1.05, Pi * 1.45);
        cairo_set_line_width(cr, 1.3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        SetColour(cr, Paint::Cream, 0.55);
        cairo_stroke(cr);
    }
    cairo_restore(cr);

    PinPath(cr, direction, top);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, PinOutline);
    cairo_stroke(cr);

    DrawKey(cr, key, cx + (pressed ? 0.6 : 0), cy + (pressed ? 0.6 : 0), pressed ? 0.85 : 1);
}

TArtPicture DrawStrip(const TArrowSet& set, bool pressed, const TArtColour& board)
{
    const std::string keys = set.Keys;
    const auto frames = static_cast<int32_t>(keys.size());
    TCanvas silhouette(ArrowSize, ArrowSize * frames);
    TCanvas face(ArrowSize, ArrowSize * frames);
    for (int32_t frame = 0; frame < frames; ++frame) {
        const double top = frame * ArrowSize;
        PinPath(silhouette.Cr(), set.Direction, top);
        SetColour(silhouette.Cr(), Paint::Black);
        cairo_fill(silhouette.Cr());
        DrawFace(face.Cr(), set.Direction, top, keys.substr(static_cast<std::size_t>(frame), 1),
            pressed);
    }
    const std::string name = std::string(set.Name) + (pressed ? "_dn" : "_up");
    TArtPicture picture(name, ArrowSize, ArrowSize * frames, true);
    for (int32_t y = 0; y < picture.Height; ++y) {
        for (int32_t x = 0; x < picture.Width; ++x) {
            const double alpha = silhouette.Alpha(x, y);
            if (alpha < 0.5)
                continue;
            picture.At(x, y) = Mix(board, face.Colour(x, y), alpha);
            picture.SetCovered(x, y, true);
        }
    }
    return picture;
}

} // namespace

std::vector<TArtPicture> DrawArrows(const TArtPicture& tile)
{
    // Arrows sit on the board's margin, where the table shows at any offset.
    const TArtColour board = AverageColour(tile);
    std::vector<TArtPicture> strips;
    for (const TArrowSet& set : ArrowSets) {
        strips.push_back(DrawStrip(set, false, board));
        strips.push_back(DrawStrip(set, true, board));
    }
    return strips;
}
