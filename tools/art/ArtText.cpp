#include "art/ArtText.h"

#include "common/KelException.h"
#include "common/KelStd.h"

#include <cmath>

namespace {

struct TFontDescriptionRelease {
    void operator()(PangoFontDescription* description) const
    {
        pango_font_description_free(description);
    }
};
using TFontDescription = std::unique_ptr<PangoFontDescription, TFontDescriptionRelease>;

TFontDescription Describe(const TFontSpec& font)
{
    TFontDescription description(pango_font_description_new());
    pango_font_description_set_family(description.get(), font.Family.c_str());
    pango_font_description_set_weight(description.get(), font.Weight);
    pango_font_description_set_style(description.get(), font.Style);
    pango_font_description_set_absolute_size(description.get(), font.SizePx * PANGO_SCALE);
    return description;
}

void FixRenderingOptions(PangoContext* context)
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 96);
}

} // namespace

TTextBlock::TTextBlock(cairo_t* cr, const std::string& text, const TFontSpec& font)
    : FContext(cr)
    , FLayout(pango_cairo_create_layout(cr))
{
    RequireFont(font);
    FixRenderingOptions(pango_layout_get_context(FLayout.get()));
    pango_layout_context_changed(FLayout.get());
    const TFontDescription description = Describe(font);
    pango_layout_set_font_description(FLayout.get(), description.get());
    pango_layout_set_text(FLayout.get(), text.c_str(), -1);
}

void TTextBlock::SetWrap(double width)
{
    pango_layout_set_alignment(FLayout.get(), PANGO_ALIGN_CENTER);
    pango_layout_set_wrap(FLayout.get(), PANGO_WRAP_WORD);
    pango_layout_set_width(FLayout.get(), width > 0 ? static_cast<int>(width * PANGO_SCALE) : -1);
}

PangoRectangle TTextBlock::Ink() const
{
    PangoRectangle ink {};
    pango_layout_get_pixel_extents(FLayout.get(), &ink, nullptr);
    return ink;
}

void TTextBlock::AddPathAt(double x, double y) const
{
    const PangoRectangle ink = Ink();
    cairo_move_to(FContext, x - ink.x, y - ink.y);
    pango_cairo_layout_path(FContext, FLayout.get());
}

void TTextBlock::ShowAt(double x, double y) const
{
    const PangoRectangle ink = Ink();
    cairo_move_to(FContext, x - ink.x, y - ink.y);
    pango_cairo_show_layout(FContext, FLayout.get());
}

void RequireFont(const TFontSpec& font)
{
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(map);
    const TFontDescription wanted = Describe(font);
    PangoFont* loaded = pango_font_map_load_font(map, context, wanted.get());
    std::string family;
    if (loaded != nullptr) {
        const TFontDescription found(pango_font_describe(loaded));
        const char* name = pango_font_description_get_family(found.get());
        family = name != nullptr ? name : "";
        g_object_unref(loaded);
    }
    g_object_unref(context);
    if (LowerNameText(family) != LowerNameText(font.Family))
        throw KelException("Font \"" + font.Family + "\" is not installed");
}
