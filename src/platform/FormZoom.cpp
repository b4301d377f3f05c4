// The form's whole-number zoom: the size the window asks for, its place on the screen, and
// whether it fits the monitor's work area.

#include "platform/Form.h"
#include "platform/GtkGlue.h"

#include <algorithm>

namespace {

constexpr const char* ZoomKey = "pathwarden-zoom";

// The work area of the monitor that shows the window, else of the primary or first monitor.
bool WorkArea(GtkWidget* window, GdkRectangle& area)
{
    GdkDisplay* display = gtk_widget_get_display(window);
    GdkWindow* shown = gtk_widget_get_window(window);
    GdkMonitor* monitor = shown != nullptr ? gdk_display_get_monitor_at_window(display, shown)
                                           : gdk_display_get_primary_monitor(display);
    if (monitor == nullptr)
        monitor = gdk_display_get_monitor(display, 0);
    if (monitor == nullptr)
        return false;
    gdk_monitor_get_workarea(monitor, &area);
    return true;
}

// What the window manager's decorations add around the window.
GdkRectangle FrameExtra(GtkWidget* window)
{
    GdkWindow* shown = gtk_widget_get_window(window);
    if (shown == nullptr || !gtk_widget_get_mapped(window))
        return {0, 0, 0, 0};
    GdkRectangle frame;
    gdk_window_get_frame_extents(shown, &frame);
    return {0, 0, std::max(frame.width - gtk_widget_get_allocated_width(window), 0),
        std::max(frame.height - gtk_widget_get_allocated_height(window), 0)};
}

} // namespace

int32_t AreaZoom(GtkWidget* area)
{
    const gint zoom = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(area), ZoomKey));
    return std::max(zoom, 1);
}

void TForm::SetZoom(int32_t zoom)
{
    zoom = std::max(zoom, 1);
    if (zoom == FZoom)
        return;
    const int32_t before = FZoom;
    FZoom = zoom;
    GtkWidget* window = FWindow->Window;
    g_object_set_data(G_OBJECT(FWindow->Area), ZoomKey, GINT_TO_POINTER(zoom));
    gtk_widget_set_size_request(FWindow->Area, ClientWidth() * zoom, ClientHeight() * zoom);
    gtk_widget_queue_draw(FWindow->Area);
    GdkRectangle area;
    if (!Visible() || !WorkArea(window, area))
        return;
    // The centre stays where it was, unless that would put a part off the work area.
    const GdkRectangle extra = FrameExtra(window);
    const int32_t width = ClientWidth() * zoom + extra.width;
    const int32_t height = ClientHeight() * zoom + extra.height;
    gint x = 0;
    gint y = 0;
    gtk_window_get_position(GTK_WINDOW(window), &x, &y);
    x -= ClientWidth() * (zoom - before) / 2;
    y -= ClientHeight() * (zoom - before) / 2;
    x = std::max(std::min(x, area.x + area.width - width), area.x);
    y = std::max(std::min(y, area.y + area.height - height), area.y);
    gtk_window_move(GTK_WINDOW(window), x, y);
}

bool TForm::ZoomFits(int32_t zoom) const
{
    GdkRectangle area;
    if (zoom < 1 || !WorkArea(FWindow->Window, area))
        return false;
    const GdkRectangle extra = FrameExtra(FWindow->Window);
    return ClientWidth() * zoom + extra.width <= area.width
        && ClientHeight() * zoom + extra.height <= area.height;
}
