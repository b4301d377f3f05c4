// A bin that shows its child at a whole-number zoom. The child lays out and paints at its own
// size in an offscreen window; the bin shows that window with each pixel as a crisp block, and
// the toolkit maps the pointer back to the child's scale, so the child's widgets work as before.

#include "platform/NativeGlue.h"

#include <algorithm>
#include <cmath>

struct TZoomBin {
    GtkBin Parent;
    GdkWindow* Offscreen;
    gint Zoom;
};
struct TZoomBinClass {
    GtkBinClass ParentClass;
};
G_DEFINE_TYPE(TZoomBin, zoom_bin, GTK_TYPE_BIN)

namespace {

TZoomBin* AsZoomBin(gpointer object)
{
    return G_TYPE_CHECK_INSTANCE_CAST(object, zoom_bin_get_type(), TZoomBin);
}

GtkWidget* VisibleChild(GtkWidget* widget)
{
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
    return child != nullptr && gtk_widget_get_visible(child) ? child : nullptr;
}

GtkRequisition ChildSize(GtkWidget* widget)
{
    GtkRequisition size {0, 0};
    if (GtkWidget* child = VisibleChild(widget))
        gtk_widget_get_preferred_size(child, &size, nullptr);
    return size;
}

GdkWindow* PickChild(GdkWindow*, double x, double y, gpointer data)
{
    TZoomBin* bin = AsZoomBin(data);
    const GtkRequisition size = ChildSize(GTK_WIDGET(bin));
    const double cx = x / bin->Zoom;
    const double cy = y / bin->Zoom;
    return cx >= 0 && cy >= 0 && cx < size.width && cy < size.height ? bin->Offscreen : nullptr;
}

void ToEmbedder(GdkWindow*, double x, double y, double* outX, double* outY, gpointer data)
{
    const gint zoom = AsZoomBin(data)->Zoom;
    *outX = x * zoom;
    *outY = y * zoom;
}

void FromEmbedder(GdkWindow*, double x, double y, double* outX, double* outY, gpointer data)
{
    const gint zoom = AsZoomBin(data)->Zoom;
    *outX = x / zoom;
    *outY = y / zoom;
}

void ZoomBinRealize(GtkWidget* widget)
{
    TZoomBin* bin = AsZoomBin(widget);
    gtk_widget_set_realized(widget, TRUE);
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    GdkWindowAttr attributes {};
    attributes.x = allocation.x;
    attributes.y = allocation.y;
    attributes.width = allocation.width;
    attributes.height = allocation.height;
    attributes.window_type = GDK_WINDOW_CHILD;
    attributes.event_mask = gtk_widget_get_events(widget) | GDK_EXPOSURE_MASK
        | GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK
        | GDK_SCROLL_MASK | GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK;
    attributes.visual = gtk_widget_get_visual(widget);
    attributes.wclass = GDK_INPUT_OUTPUT;
    const gint mask = GDK_WA_X | GDK_WA_Y | GDK_WA_VISUAL;
    GdkWindow* window = gdk_window_new(gtk_widget_get_parent_window(widget), &attributes, mask);
    gtk_widget_set_window(widget, window);
    gtk_widget_register_window(widget, window);
    g_signal_connect(window, "pick-embedded-child", G_CALLBACK(PickChild), bin);

    const GtkRequisition size = ChildSize(widget);
    attributes.window_type = GDK_WINDOW_OFFSCREEN;
    attributes.x = attributes.y = 0;
    attributes.width = std::max(size.width, 1);
    attributes.height = std::max(size.height, 1);
    bin->Offscreen = gdk_window_new(
        gdk_screen_get_root_window(gtk_widget_get_screen(widget)), &attributes, mask);
    gtk_widget_register_window(widget, bin->Offscreen);
    if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget)))
        gtk_widget_set_parent_window(child, bin->Offscreen);
    gdk_offscreen_window_set_embedder(bin->Offscreen, window);
    g_signal_connect(bin->Offscreen, "to-embedder", G_CALLBACK(ToEmbedder), bin);
    g_signal_connect(bin->Offscreen, "from-embedder", G_CALLBACK(FromEmbedder), bin);
    gdk_window_show(bin->Offscreen);
}

void ZoomBinUnrealize(GtkWidget* widget)
{
    TZoomBin* bin = AsZoomBin(widget);
    gtk_widget_unregister_window(widget, bin->Offscreen);
    gdk_window_destroy(bin->Offscreen);
    bin->Offscreen = nullptr;
    GTK_WIDGET_CLASS(zoom_bin_parent_class)->unrealize(widget);
}

void ZoomBinAdd(GtkContainer* container, GtkWidget* child)
{
    TZoomBin* bin = AsZoomBin(container);
    if (bin->Offscreen != nullptr)
        gtk_widget_set_parent_window(child, bin->Offscreen);
    GTK_CONTAINER_CLASS(zoom_bin_parent_class)->add(container, child);
}

void ZoomBinWidth(GtkWidget* widget, gint* minimum, gint* natural)
{
    *minimum = *natural = ChildSize(widget).width * AsZoomBin(widget)->Zoom;
}

void ZoomBinHeight(GtkWidget* widget, gint* minimum, gint* natural)
{
    *minimum = *natural = ChildSize(widget).height * AsZoomBin(widget)->Zoom;
}

// The bin asks for no other size whatever the other side is given; the toolkit's bin would ask the
// child at its own scale.
void ZoomBinHeightForWidth(GtkWidget* widget, gint, gint* minimum, gint* natural)
{
    ZoomBinHeight(widget, minimum, natural);
}

void ZoomBinWidthForHeight(GtkWidget* widget, gint, gint* minimum, gint* natural)
{
    ZoomBinWidth(widget, minimum, natural);
}

void ZoomBinAllocate(GtkWidget* widget, GtkAllocation* allocation)
{
    TZoomBin* bin = AsZoomBin(widget);
    gtk_widget_set_allocation(widget, allocation);
    if (gtk_widget_get_realized(widget))
        gdk_window_move_resize(gtk_widget_get_window(widget), allocation->x, allocation->y,
            allocation->width, allocation->height);
    GtkWidget* child = VisibleChild(widget);
    if (child == nullptr)
        return;
    const GtkRequisition size = ChildSize(widget);
    GtkAllocation place {0, 0, size.width, size.height};
    if (gtk_widget_get_realized(widget))
        gdk_window_move_resize(bin->Offscreen, 0, 0, size.width, size.height);
    gtk_widget_size_allocate(child, &place);
}

gboolean ZoomBinDamage(GtkWidget* widget, GdkEventExpose*)
{
    gdk_window_invalidate_rect(gtk_widget_get_window(widget), nullptr, FALSE);
    return TRUE;
}

gboolean ZoomBinDraw(GtkWidget* widget, cairo_t* cr)
{
    TZoomBin* bin = AsZoomBin(widget);
    GtkWidget* child = VisibleChild(widget);
    if (child == nullptr)
        return FALSE;
    if (gtk_cairo_should_draw_window(cr, gtk_widget_get_window(widget))) {
        cairo_scale(cr, bin->Zoom, bin->Zoom);
        cairo_set_source_surface(cr, gdk_offscreen_window_get_surface(bin->Offscreen), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
    } else if (gtk_cairo_should_draw_window(cr, bin->Offscreen)) {
        // The child lies on the window's own background, as it did without the bin.
        const GtkRequisition size = ChildSize(widget);
        gtk_render_background(gtk_widget_get_style_context(gtk_widget_get_toplevel(widget)), cr, 0,
            0, size.width, size.height);
        gtk_container_propagate_draw(GTK_CONTAINER(widget), child, cr);
    }
    return FALSE;
}

} // namespace

static void zoom_bin_class_init(TZoomBinClass* type)
{
    GtkWidgetClass* widget = GTK_WIDGET_CLASS(type);
    widget->realize = ZoomBinRealize;
    widget->unrealize = ZoomBinUnrealize;
    widget->get_preferred_width = ZoomBinWidth;
    widget->get_preferred_height = ZoomBinHeight;
    widget->get_preferred_height_for_width = ZoomBinHeightForWidth;
    widget->get_preferred_width_for_height = ZoomBinWidthForHeight;
    widget->size_allocate = ZoomBinAllocate;
    widget->draw = ZoomBinDraw;
    widget->damage_event = ZoomBinDamage;
    GTK_CONTAINER_CLASS(type)->add = ZoomBinAdd;
}

static void zoom_bin_init(TZoomBin* bin)
{
    gtk_widget_set_has_window(GTK_WIDGET(bin), TRUE);
    bin->Offscreen = nullptr;
    bin->Zoom = 1;
}

GtkWidget* NewZoomBin()
{
    return GTK_WIDGET(g_object_new(zoom_bin_get_type(), nullptr));
}

void SetZoomBinZoom(GtkWidget* bin, int32_t zoom)
{
    AsZoomBin(bin)->Zoom = std::max(zoom, 1);
    gtk_widget_queue_resize(bin);
}
