#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>

// A font from the Debian font packages the build installs, sized in pixels.
struct TFontSpec {
    std::string Family;
    PangoWeight Weight = PANGO_WEIGHT_NORMAL;
    PangoStyle Style = PANGO_STYLE_NORMAL;
    double SizePx = 12;
};

// Text laid out with fixed rendering options (grey anti-aliasing, slight hinting), so the same
// build draws the same pixels on every machine with the same fonts.
class TTextBlock {
public:
    TTextBlock(cairo_t* cr, const std::string& text, const TFontSpec& font);
    // Centres lines of a paragraph; width in pixels, 0 for no wrapping.
    void SetWrap(double width);
    // Ink extents of the text relative to the layout's origin.
    PangoRectangle Ink() const;
    // Adds the outlines of the glyphs to the path so that the ink's top-left is at (x, y).
    void AddPathAt(double x, double y) const;
    // Draws the glyphs with the current source so that the ink's top-left is at (x, y).
    void ShowAt(double x, double y) const;

private:
    struct TLayoutRelease {
        void operator()(PangoLayout* layout) const { g_object_unref(layout); }
    };
    cairo_t* FContext;
    std::unique_ptr<PangoLayout, TLayoutRelease> FLayout;
};

// Raises KelException unless the font map resolves the family itself rather than a substitute:
// a missing font package must stop the build instead of silently changing the pictures.
void RequireFont(const TFontSpec& font);
