#include "Commands.h"
#include "LibraryAccess.h"
#include "PngFile.h"

#include "common/KelException.h"

#include <algorithm>
#include <cairo.h>
#include <memory>
#include <new>
#include <pango/pangocairo.h>

namespace {

constexpr int Zoom = 2;
constexpr int Margin = 16;
constexpr int Gap = 16;
constexpr int LabelGap = 4;
constexpr int MinSheetWidth = 1024;
constexpr int MaxSurfaceSide = 32767; // cairo's limit for image surfaces
constexpr int64_t MaxSheetPixels = int64_t {64} << 20;
constexpr int CheckerSquare = 8;
constexpr uint32_t CheckerLight = 0xFFFFFF;
constexpr uint32_t CheckerDark = 0xD4D4D4;
constexpr double Background = 0.62;

struct TCairoDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct TGObjectDeleter {
    void operator()(void* object) const { g_object_unref(object); }
};
using TLayout = std::unique_ptr<PangoLayout, TGObjectDeleter>;

// One image on the sheet, laid out from its record header alone.
struct TSheetCell {
    TVX8RecordEntry Entry;
    TLayout Label;
    int LabelWidth = 0;
    int LabelHeight = 0;
    int X = 0;
    int Y = 0;
    int Width() const { return std::max(Entry.Width * Zoom, LabelWidth); }
    int Height() const { return Entry.Height * Zoom + LabelGap + LabelHeight; }
};

TLayout MakeLabel(cairo_t* cr, const TVX8RecordEntry& picture, int& width, int& height)
{
    TLayout layout(pango_cairo_create_layout(cr));
    PangoFontDescription* font = pango_font_description_from_string("Sans 9");
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);
    std::string text = picture.Name + "\n" + std::to_string(picture.Width) + " x "
        + std::to_string(picture.Height);
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    pango_layout_get_pixel_size(layout.get(), &width, &height);
    return layout;
}

// Places the cells in rows from left to right; returns the sheet's width and height.
std::pair<int, int> FlowCells(std::vector<TSheetCell>& cells)
{
    int sheetWidth = MinSheetWidth;
    for (const TSheetCell& cell : cells) {
        sheetWidth = std::max(sheetWidth, cell.Width() + 2 * Margin);
    }
    int x = Margin;
    int y = Margin;
    int rowHeight = 0;
    for (TSheetCell& cell : cells) {
        if (x > Margin && x + cell.Width() > sheetWidth - Margin) {
            x = Margin;
            y += rowHeight + Gap;
            rowHeight = 0;
        }
        cell.X = x;
        cell.Y = y;
        x += cell.Width() + Gap;
        rowHeight = std::max(rowHeight, cell.Height());
    }
    return {sheetWidth, y + rowHeight + Margin};
}

void DrawPicture(cairo_surface_t* surface, const TSheetCell& cell, const TLibraryPicture& picture,
    const TDisplayPalette& palette)
{
    cairo_surface_flush(surface);
    uint8_t* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < picture.Height * Zoom; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + ptrdiff_t {cell.Y + y} * stride);
        for (int x = 0; x < picture.Width * Zoom; ++x) {
            uint8_t v = picture.Pixels[size_t(y / Zoom) * picture.Width + size_t(x / Zoom)];
            bool clear = picture.Transparent && v == picture.TransparentIndex;
            bool light = ((x / CheckerSquare) + (y / CheckerSquare)) % 2 == 0;
            row[cell.X + x] = clear ? (light ? CheckerLight : CheckerDark) : palette.ColourOf(v);
        }
    }
    cairo_surface_mark_dirty(surface);
}

cairo_status_t AppendPngBytes(void* closure, const unsigned char* data, unsigned int length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(closure);
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
    }
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

int RunSheet(const std::vector<std::string>& args, std::ostream&)
{
    TVX8Library library;
    library.Open(args[0], true);
    const TDisplayPalette& palette = *library.GetHPal();
    std::unique_ptr<cairo_surface_t, TCairoDeleter> measure(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1));
    std::unique_ptr<cairo_t, TCairoDeleter> measureCr(cairo_create(measure.get()));
    std::vector<TSheetCell> cells;
    for (const TVX8RecordEntry& entry : library.Records()) {
        if (IsDirectoryEntry(library, entry)) {
            TSheetCell& cell = cells.emplace_back();
            cell.Entry = entry;
            cell.Label = MakeLabel(measureCr.get(), entry, cell.LabelWidth, cell.LabelHeight);
        }
    }
    auto [width, height] = FlowCells(cells);
    if (width > MaxSurfaceSide || height > MaxSurfaceSide
        || int64_t {width} * height > MaxSheetPixels) {
        throw KelException("sheet: the sheet would be " + std::to_string(width) + " x "
            + std::to_string(height) + " pixels; at most " + std::to_string(MaxSurfaceSide)
            + " a side and " + std::to_string(MaxSheetPixels) + " in all can be drawn");
    }
    std::unique_ptr<cairo_surface_t, TCairoDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    std::unique_ptr<cairo_t, TCairoDeleter> cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), Background, Background, Background);
    cairo_paint(cr.get());
    // Only now, with the sheet's size accepted, is each picture decoded, one at a time.
    for (const TSheetCell& cell : cells) {
        int w = cell.Entry.Width * Zoom;
        int h = cell.Entry.Height * Zoom;
        cairo_set_source_rgb(cr.get(), 0.2, 0.2, 0.2);
        cairo_rectangle(cr.get(), cell.X - 1, cell.Y - 1, w + 2, h + 2);
        cairo_fill(cr.get());
        DrawPicture(surface.get(), cell, ReadLibraryPicture(library, cell.Entry.Name), palette);
        cairo_set_source_rgb(cr.get(), 0, 0, 0);
        cairo_move_to(cr.get(), cell.X, cell.Y + h + LabelGap);
        pango_cairo_update_layout(cr.get(), cell.Label.get());
        pango_cairo_show_layout(cr.get(), cell.Label.get());
    }
    cairo_surface_flush(surface.get());
    std::vector<uint8_t> png;
    cairo_status_t status = cairo_surface_write_to_png_stream(surface.get(), AppendPngBytes, &png);
    if (status != CAIRO_STATUS_SUCCESS) {
        throw KelException(
            "sheet: cannot write \"" + args[1] + "\": " + cairo_status_to_string(status));
    }
    WriteFileBytes(args[1], png);
    return 0;
}
