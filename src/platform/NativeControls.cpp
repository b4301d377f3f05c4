#include "platform/NativeControls.h"

#include "platform/GtkGlue.h"
#include "platform/MessageBox.h"
#include "platform/NativeGlue.h"

#include <algorithm>
#include <cmath>

// A fixed container that asks for exactly its own size request and gives each child exactly
// its place and size request, whatever the child's text or theme would like.
struct TExactFixed {
    GtkFixed Parent;
};
struct TExactFixedClass {
    GtkFixedClass ParentClass;
};
G_DEFINE_TYPE(TExactFixed, exact_fixed, GTK_TYPE_FIXED)

namespace {

void ExactFixedWidth(GtkWidget* widget, gint* minimum, gint* natural)
{
    gint width = 0;
    gtk_widget_get_size_request(widget, &width, nullptr);
    *minimum = *natural = std::max(width, 0);
}

void ExactFixedHeight(GtkWidget* widget, gint* minimum, gint* natural)
{
    gint height = 0;
    gtk_widget_get_size_request(widget, nullptr, &height);
    *minimum = *natural = std::max(height, 0);
}

void ExactFixedAllocate(GtkWidget* widget, GtkAllocation* allocation)
{
    gtk_widget_set_allocation(widget, allocation);
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* item = children; item != nullptr; item = item->next) {
        auto* child = GTK_WIDGET(item->data);
        if (!gtk_widget_get_visible(child))
            continue;
        gint x = 0;
        gint y = 0;
        gtk_container_child_get(GTK_CONTAINER(widget), child, "x", &x, "y", &y, nullptr);
        // The toolkit wants every child measured before it is placed.
        GtkRequisition wanted;
        gtk_widget_get_preferred_size(child, &wanted, nullptr);
        gint width = 0;
        gint height = 0;
        gtk_widget_get_size_request(child, &width, &height);
        GtkAllocation place {allocation->x + x, allocation->y + y,
            width >= 0 ? width : wanted.width, height >= 0 ? height : wanted.height};
        gtk_widget_size_allocate(child, &place);
    }
    g_list_free(children);
}

} // namespace

static void exact_fixed_class_init(TExactFixedClass* type)
{
    GtkWidgetClass* widget = GTK_WIDGET_CLASS(type);
    widget->get_preferred_width = ExactFixedWidth;
    widget->get_preferred_height = ExactFixedHeight;
    widget->size_allocate = ExactFixedAllocate;
}

static void exact_fixed_init(TExactFixed*)
{
}

GtkWidget* NewExactFixed()
{
    return GTK_WIDGET(g_object_new(exact_fixed_get_type(), nullptr));
}

namespace {

GtkWidget* WidgetOf(const TNativeControl& control)
{
    return control.Widget().Widget;
}

void SetSourceColour(cairo_t* cr, TColour colour)
{
    cairo_set_source_rgb(cr, ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
        (colour & 0xFF) / 255.0);
}

// A drawing area that draws into its host's window, so that it stacks with the other controls
// in the order they were made.
GtkWidget* NewDrawnWidget()
{
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_has_window(area, FALSE);
    return area;
}

GtkWidget* NewLabelWidget()
{
    GtkWidget* label = gtk_label_new("");
    gtk_label_set_yalign(GTK_LABEL(label), 0.0F);
    // A label keeps the size it is given: a line too long for it ends in an ellipsis.
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    return label;
}

GtkLabel* ButtonLabel(const TNativeControl& control)
{
    return GTK_LABEL(gtk_bin_get_child(GTK_BIN(WidgetOf(control))));
}

void ClickedSignal(GtkButton*, gpointer data)
{
    auto* control = static_cast<TNativeControl*>(data);
    RunGuarded([control] {
        if (control->OnClick)
            control->OnClick();
    });
}

gboolean DrawShape(GtkWidget* widget, cairo_t* cr, gpointer data)
{
    const auto* shape = static_cast<const TNativeShape*>(data);
    const double w = gtk_widget_get_allocated_width(widget);
    const double h = gtk_widget_get_allocated_height(widget);
    // The corners are arcs of an ellipse a quarter of the shorter side across.
    const double r = shape->Kind == TShapeKind::RoundRect ? std::min(w, h) / 8.0 : 0.0;
    const double x0 = 0.5;
    const double y0 = 0.5;
    const double x1 = w - 0.5;
    const double y1 = h - 0.5;
    cairo_new_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, M_PI / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + r, y0 + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    SetSourceColour(cr, shape->BrushColour());
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    SetSourceColour(cr, 0);
    cairo_stroke(cr);
    return FALSE;
}

gboolean DrawBevel(GtkWidget* widget, cairo_t* cr, gpointer)
{
    const double w = gtk_widget_get_allocated_width(widget);
    const double h = gtk_widget_get_allocated_height(widget);
    cairo_set_line_width(cr, 1.0);
    // An etched groove: a light frame one pixel below and right of a shadow frame.
    SetSourceColour(cr, MakeColour(255, 255, 255));
    cairo_rectangle(cr, 1.5, 1.5, w - 2, h - 2);
    cairo_stroke(cr);
    SetSourceColour(cr, MakeColour(160, 160, 160));
    cairo_rectangle(cr, 0.5, 0.5, w - 2, h - 2);
    cairo_stroke(cr);
    return FALSE;
}

struct TPictureData {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Premultiplied;
};

void FreePictureData(gpointer data)
{
    delete static_cast<TPictureData*>(data);
}

gboolean DrawPicture(GtkWidget* widget, cairo_t* cr, gpointer)
{
    auto* picture = static_cast<TPictureData*>(g_object_get_data(G_OBJECT(widget), "picture"));
    if (picture == nullptr)
        return FALSE;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(picture->Premultiplied.data()), CAIRO_FORMAT_ARGB32,
        picture->Width, picture->Height, picture->Width * 4);
    cairo_scale(cr, gtk_widget_get_allocated_width(widget) / double(picture->Width),
        gtk_widget_get_allocated_height(widget) / double(picture->Height));
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(surface);
    return FALSE;
}

// Runs before the panel draws its children: the window's colour and a lowered edge.
gboolean DrawPanel(GtkWidget* widget, cairo_t* cr, gpointer)
{
    const double w = gtk_widget_get_allocated_width(widget);
    const double h = gtk_widget_get_allocated_height(widget);
    GtkStyleContext* style = gtk_widget_get_style_context(gtk_widget_get_toplevel(widget));
    gtk_render_background(style, cr, 0, 0, w, h);
    cairo_set_line_width(cr, 1.0);
    SetSourceColour(cr, MakeColour(160, 160, 160));
    cairo_move_to(cr, 0.5, h - 1);
    cairo_line_to(cr, 0.5, 0.5);
    cairo_line_to(cr, w - 1, 0.5);
    cairo_stroke(cr);
    SetSourceColour(cr, MakeColour(255, 255, 255));
    cairo_move_to(cr, w - 0.5, 0);
    cairo_line_to(cr, w - 0.5, h - 0.5);
    cairo_line_to(cr, 0, h - 0.5);
    cairo_stroke(cr);
    return FALSE;
}

} // namespace

void ApplyLabelFont(GtkLabel* label, const TFont& font, double letterSpacing)
{
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.Name.c_str());
    pango_font_description_set_absolute_size(description, font.Height * double(PANGO_SCALE));
    pango_font_description_set_weight(
        description, font.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(
        description, font.Italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_desc_new(description));
    const auto channel = [&](int shift) { return guint16(((font.Colour >> shift) & 0xFF) * 257); };
    pango_attr_list_insert(
        attributes, pango_attr_foreground_new(channel(16), channel(8), channel(0)));
    pango_attr_list_insert(attributes,
        pango_attr_underline_new(font.Underline ? PANGO_UNDERLINE_SINGLE : PANGO_UNDERLINE_NONE));
    if (letterSpacing != 0)
        pango_attr_list_insert(
            attributes, pango_attr_letter_spacing_new(int(letterSpacing * PANGO_SCALE)));
    gtk_label_set_attributes(label, attributes);
    pango_attr_list_unref(attributes);
    pango_font_description_free(description);
}

TNativeControl* TNativeHost::NativeControlAt(TPoint point, TPoint& at) const
{
    for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it) {
        TNativeControl* control = *it;
        const TRect& r = control->BoundsRect();
        if (!control->Visible() || !control->Enabled() || point.X < r.Left || point.X >= r.Right
            || point.Y < r.Top || point.Y >= r.Bottom)
            continue;
        const TPoint inside {point.X - r.Left, point.Y - r.Top};
        if (const auto* host = dynamic_cast<const TNativeHost*>(control))
            if (TNativeControl* child = host->NativeControlAt(inside, at))
                return child;
        at = inside;
        return control;
    }
    return nullptr;
}

TNativeControl::TNativeControl(TNativeHost& host, std::unique_ptr<TNativeWidget> widget)
    : FHost(host)
    , FWidget(std::move(widget))
{
    gtk_widget_set_no_show_all(FWidget->Widget, TRUE);
    gtk_widget_show(FWidget->Widget);
    gtk_fixed_put(GTK_FIXED(host.Container().Widget), FWidget->Widget, 0, 0);
    FHost.FChildren.push_back(this);
}

TNativeControl::~TNativeControl()
{
    std::erase(FHost.FChildren, this);
    g_signal_handlers_disconnect_by_data(FWidget->Widget, this);
}

void TNativeControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height)
{
    Bounds = {left, top, left + std::max(width, 0), top + std::max(height, 0)};
    gtk_fixed_move(GTK_FIXED(FHost.Container().Widget), FWidget->Widget, left, top);
    gtk_widget_set_size_request(FWidget->Widget, std::max(width, 0), std::max(height, 0));
}

TRect TNativeControl::PlacedRect() const
{
    int x = 0;
    int y = 0;
    if (!gtk_widget_get_mapped(FWidget->Widget)
        || !gtk_widget_translate_coordinates(
            FWidget->Widget, FHost.Container().Widget, 0, 0, &x, &y))
        return {};
    return {x, y, x + gtk_widget_get_allocated_width(FWidget->Widget),
        y + gtk_widget_get_allocated_height(FWidget->Widget)};
}

void TNativeControl::SetVisible(bool visible)
{
    IsVisible = visible;
    gtk_widget_set_visible(FWidget->Widget, visible ? TRUE : FALSE);
}

void TNativeControl::SetEnabled(bool enabled)
{
    IsEnabled = enabled;
    gtk_widget_set_sensitive(FWidget->Widget, enabled ? TRUE : FALSE);
}

bool TNativeControl::CanFocus() const
{
    return gtk_widget_get_can_focus(FWidget->Widget) != FALSE;
}

bool TNativeControl::Focused() const
{
    return gtk_widget_is_focus(FWidget->Widget) != FALSE;
}

void TNativeControl::SetFocus()
{
    gtk_widget_grab_focus(FWidget->Widget);
}

void TNativeControl::Click()
{
    if (!IsEnabled || !IsVisible)
        return;
    if (GTK_IS_BUTTON(FWidget->Widget))
        gtk_button_clicked(GTK_BUTTON(FWidget->Widget));
    else if (OnClick)
        OnClick();
}

TNativeLabel::TNativeLabel(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(NewLabelWidget()))
{
    ApplyText();
}

void TNativeLabel::SetCaption(const std::string& caption)
{
    FCaption = caption;
    gtk_label_set_text(GTK_LABEL(Widget().Widget), caption.c_str());
}

void TNativeLabel::SetFont(const TFont& font)
{
    FFont = font;
    ApplyText();
}

void TNativeLabel::SetLetterSpacing(double pixels)
{
    FLetterSpacing = pixels;
    ApplyText();
}

void TNativeLabel::SetAlignment(TTextAlign align)
{
    FAlign = align;
    ApplyText();
}

void TNativeLabel::SetWordWrap(bool wrap)
{
    auto* label = GTK_LABEL(Widget().Widget);
    gtk_label_set_line_wrap(label, wrap ? TRUE : FALSE);
    gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD);
    gtk_label_set_ellipsize(label, wrap ? PANGO_ELLIPSIZE_NONE : PANGO_ELLIPSIZE_END);
}

void TNativeLabel::ApplyText()
{
    auto* label = GTK_LABEL(Widget().Widget);
    ApplyLabelFont(label, FFont, FLetterSpacing);
    const float x = FAlign == TTextAlign::Left ? 0.0F : FAlign == TTextAlign::Centre ? 0.5F : 1.0F;
    gtk_label_set_xalign(label, x);
    gtk_label_set_justify(label,
        FAlign == TTextAlign::Left         ? GTK_JUSTIFY_LEFT
            : FAlign == TTextAlign::Centre ? GTK_JUSTIFY_CENTER
                                           : GTK_JUSTIFY_RIGHT);
}

bool TNativeLabel::TextClipped() const
{
    auto* label = GTK_LABEL(Widget().Widget);
    PangoLayout* layout = gtk_label_get_layout(label);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    const TRect placed = PlacedRect();
    return pango_layout_is_ellipsized(layout) || width > RectWidth(placed)
        || height > RectHeight(placed);
}

TNativeButton::TNativeButton(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(gtk_button_new_with_label("")))
{
    g_signal_connect(Widget().Widget, "clicked", G_CALLBACK(ClickedSignal), this);
}

std::string TNativeButton::Caption() const
{
    return gtk_label_get_text(ButtonLabel(*this));
}

void TNativeButton::SetCaption(const std::string& caption)
{
    gtk_label_set_text(ButtonLabel(*this), caption.c_str());
}

void TNativeButton::SetFont(const TFont& font)
{
    ApplyLabelFont(ButtonLabel(*this), font);
}

void TNativeButton::SetDefault(bool isDefault)
{
    GtkWidget* button = Widget().Widget;
    gtk_widget_set_can_default(button, TRUE);
    GtkWidget* top = gtk_widget_get_toplevel(button);
    if (GTK_IS_WINDOW(top))
        gtk_window_set_default(GTK_WINDOW(top), isDefault ? button : nullptr);
}

bool TNativeButton::Default() const
{
    return gtk_widget_has_default(Widget().Widget) != FALSE;
}

TNativeCheckBox::TNativeCheckBox(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(gtk_check_button_new_with_label("")))
{
    // Enter goes to the default button while the focus is on the box.
    gtk_widget_set_receives_default(Widget().Widget, FALSE);
    g_signal_connect(Widget().Widget, "toggled", G_CALLBACK(ClickedSignal), this);
}

std::string TNativeCheckBox::Caption() const
{
    return gtk_label_get_text(ButtonLabel(*this));
}

void TNativeCheckBox::SetCaption(const std::string& caption)
{
    gtk_label_set_text(ButtonLabel(*this), caption.c_str());
}

void TNativeCheckBox::SetFont(const TFont& font)
{
    ApplyLabelFont(ButtonLabel(*this), font);
}

bool TNativeCheckBox::Checked() const
{
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Widget().Widget)) != FALSE;
}

void TNativeCheckBox::SetChecked(bool checked)
{
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(Widget().Widget), checked ? TRUE : FALSE);
}

TNativeShape::TNativeShape(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(NewDrawnWidget()))
{
    g_signal_connect(Widget().Widget, "draw", G_CALLBACK(DrawShape), this);
}

void TNativeShape::SetBrushColour(TColour colour)
{
    FBrush = colour;
    gtk_widget_queue_draw(Widget().Widget);
}

TNativeBevel::TNativeBevel(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(NewDrawnWidget()))
{
    g_signal_connect(Widget().Widget, "draw", G_CALLBACK(DrawBevel), this);
}

TNativePicture::TNativePicture(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(NewDrawnWidget()))
{
    g_signal_connect(Widget().Widget, "draw", G_CALLBACK(DrawPicture), this);
}

bool TNativePicture::SetPicture(int32_t width, int32_t height, std::span<const uint32_t> pixels)
{
    GObject* widget = G_OBJECT(Widget().Widget);
    g_object_set_data(widget, "picture", nullptr);
    gtk_widget_queue_draw(Widget().Widget);
    if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * size_t(height))
        return false;
    auto picture = std::make_unique<TPictureData>();
    picture->Width = width;
    picture->Height = height;
    picture->Premultiplied.reserve(pixels.size());
    for (const uint32_t p : pixels) {
        const uint32_t a = p >> 24;
        const auto scale = [&](int shift) { return (((p >> shift) & 0xFF) * a + 127) / 255; };
        picture->Premultiplied.push_back(
            (a << 24) | (scale(16) << 16) | (scale(8) << 8) | scale(0));
    }
    g_object_set_data_full(widget, "picture", picture.release(), FreePictureData);
    return true;
}

bool TNativePicture::LoadFromFile(const std::string& fileName)
{
    GError* error = nullptr;
    TGObjectPtr<GdkPixbuf> loaded(gdk_pixbuf_new_from_file(fileName.c_str(), &error));
    if (error != nullptr)
        g_error_free(error);
    if (!loaded)
        return SetPicture(0, 0, {});
    TGObjectPtr<GdkPixbuf> pixbuf(gdk_pixbuf_add_alpha(loaded.get(), FALSE, 0, 0, 0));
    const int width = gdk_pixbuf_get_width(pixbuf.get());
    const int height = gdk_pixbuf_get_height(pixbuf.get());
    const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
    const guchar* rows = gdk_pixbuf_read_pixels(pixbuf.get());
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const guchar* p = rows + ptrdiff_t(y) * stride + ptrdiff_t(x) * 4;
            pixels.push_back((uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8)
                | uint32_t(p[2]));
        }
    return SetPicture(width, height, pixels);
}

bool TNativePicture::HasPicture() const
{
    return g_object_get_data(G_OBJECT(Widget().Widget), "picture") != nullptr;
}

TNativePanel::TNativePanel(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(NewExactFixed()))
{
    g_signal_connect(Widget().Widget, "draw", G_CALLBACK(DrawPanel), this);
}

TNativeWidget& TNativePanel::Container() const
{
    return Widget();
}
