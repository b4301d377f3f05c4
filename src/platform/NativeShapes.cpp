// The native controls that draw themselves: shapes, bevels, pictures and panels.

#include "platform/NativeControls.h"

#include "platform/GtkGlue.h"
#include "platform/NativeGlue.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

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

gboolean DrawShape(GtkWidget* widget, cairo_t* cr, gpointer data)
{
    const auto* shape = static_cast<const TNativeShape*>(data);
    const double w = gtk_widget_get_allocated_width(widget);
    const double h = gtk_widget_get_allocated_height(widget);
    // The corners are arcs of an ellipse a quarter of the shorter side across.
    const double r = std::min(w, h) / 8.0;
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
