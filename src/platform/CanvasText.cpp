#include "platform/Canvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>

namespace {

struct TCairoSurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct TCairoFree {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct TGObjectFree {
    void operator()(void* o) const { g_object_unref(o); }
};
struct TFontDescriptionFree {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
struct TAttrListFree {
    void operator()(PangoAttrList* a) const { pango_attr_list_unref(a); }
};

using TLayoutHandle = std::unique_ptr<PangoLayout, TGObjectFree>;

// A cairo context drawing onto the pixels, limited to the clip rectangle (device co-ordinates).
class TCairoTarget {
public:
    TCairoTarget(uint32_t* pixels, int32_t width, int32_t height, int32_t stride, const TRect& clip)
        : Surface(cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_RGB24, width, height, stride))
        , Context(cairo_create(Surface.get()))
    {
        cairo_rectangle(Context.get(), clip.Left, clip.Top, RectWidth(clip), RectHeight(clip));
        cairo_clip(Context.get());
    }
    TCairoTarget(const TCairoTarget&) = delete;
    TCairoTarget& operator=(const TCairoTarget&) = delete;
    ~TCairoTarget() { Finish(); }

    // Ends the drawing, so that the pixels can be read.
    void Finish()
    {
        Context.reset();
        cairo_surface_flush(Surface.get());
    }

    cairo_t* Get() const { return Context.get(); }

private:
    std::unique_ptr<cairo_surface_t, TCairoSurfaceFree> Surface;
    std::unique_ptr<cairo_t, TCairoFree> Context;
};

TLayoutHandle MakeLayout(cairo_t* context, std::string_view text, const TFont& font)
{
    TLayoutHandle layout(pango_cairo_create_layout(context));
    std::unique_ptr<PangoFontDescription, TFontDescriptionFree> description(
        pango_font_description_new());
    pango_font_description_set_family(description.get(), font.Name.c_str());
    pango_font_description_set_absolute_size(
        description.get(), static_cast<double>(font.Height) * PANGO_SCALE);
    pango_font_description_set_weight(
        description.get(), font.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description.get(), PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout.get(), description.get());
    if (font.Underline) {
        std::unique_ptr<PangoAttrList, TAttrListFree> attributes(pango_attr_list_new());
        pango_attr_list_insert(attributes.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout.get(), attributes.get());
    }
    const std::string copy(text);
    pango_layout_set_text(layout.get(), copy.c_str(), static_cast<int>(copy.size()));
    return layout;
}

void SetColour(cairo_t* context, TColour colour)
{
    cairo_set_source_rgb(context, ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
        (colour & 0xFF) / 255.0);
}

} // namespace

TTextSize TCanvas::TextExtent(std::string_view text) const
{
    uint32_t pixel = 0;
    TCairoTarget target(&pixel, 1, 1, 4, {0, 0, 1, 1});
    const TLayoutHandle layout = MakeLayout(target.Get(), text, Font);
    TTextSize size;
    pango_layout_get_pixel_size(layout.get(), &size.Width, &size.Height);
    return size;
}

void TCanvas::TextOut(int32_t x, int32_t y, std::string_view text)
{
    const TTextSize size = TextExtent(text);
    const TRect box {x, y, x + size.Width, y + size.Height};
    DC.FillRect(box, Brush);
    TextRect(box, text, {});
}

void TCanvas::TextRect(const TRect& r, std::string_view text, TTextFormat format)
{
    const TRect clip = DC.DeviceClipOf(r);
    if (IsRectEmpty(clip))
        return;
    const TPixelTarget pixels = DC.PixelTarget();
    TCairoTarget target(pixels.Pixels, pixels.Width, pixels.Height, pixels.StrideBytes, clip);
    const TLayoutHandle layout = MakeLayout(target.Get(), text, Font);
    const TRect box = DC.ToDevice(r);
    int32_t left = box.Left;
    if (format.WordWrap) {
        pango_layout_set_width(layout.get(), RectWidth(box) * PANGO_SCALE);
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
        pango_layout_set_alignment(layout.get(),
            format.Align == TTextAlign::Centre      ? PANGO_ALIGN_CENTER
                : format.Align == TTextAlign::Right ? PANGO_ALIGN_RIGHT
                                                    : PANGO_ALIGN_LEFT);
    } else if (format.Align != TTextAlign::Left) {
        int width = 0;
        pango_layout_get_pixel_size(layout.get(), &width, nullptr);
        const int32_t spare = RectWidth(box) - width;
        left += format.Align == TTextAlign::Centre ? spare / 2 : spare;
    }
    SetColour(target.Get(), Font.Colour);
    cairo_move_to(target.Get(), left, box.Top);
    pango_cairo_show_layout(target.Get(), layout.get());
    target.Finish();
    // Cairo fills the unused top byte of the pixels it writes; the pixels here keep it 0.
    auto* bytes = reinterpret_cast<uint8_t*>(pixels.Pixels);
    for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
        auto* row
            = reinterpret_cast<uint32_t*>(bytes + static_cast<int64_t>(y) * pixels.StrideBytes);
        for (int32_t x = clip.Left; x < clip.Right; ++x)
            row[x] &= 0x00FFFFFF;
    }
}
