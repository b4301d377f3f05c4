#include "platform/Form.h"

#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/GtkGlue.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"

#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <algorithm>
#include <exception>
#include <filesystem>

namespace {

TRect Union(const TRect& a, const TRect& b)
{
    if (IsRectEmpty(a))
        return b;
    if (IsRectEmpty(b))
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
        std::max(a.Bottom, b.Bottom)};
}

bool Contains(const TRect& outer, const TRect& inner)
{
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right
        && inner.Bottom <= outer.Bottom;
}

gboolean PaintPending(gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    form->Window().PaintSource = 0;
    RunGuarded([form] { form->Update(); });
    return G_SOURCE_REMOVE;
}

} // namespace

TForm::TForm()
    : FWindow(std::make_unique<TWindow>())
{
    Application().EnsureToolkit();
    FWindow->Window = GTK_WIDGET(g_object_ref(gtk_window_new(GTK_WINDOW_TOPLEVEL)));
    gtk_window_set_resizable(GTK_WINDOW(FWindow->Window), FALSE);
    FWindow->Area = NewFormArea();
    gtk_container_add(GTK_CONTAINER(FWindow->Window), FWindow->Area);
    ConnectFormSignals(*this);
    Application().AddForm(this);
}

TForm::~TForm()
{
    Application().RemoveForm(this);
    if (FWindow->PaintSource != 0)
        g_source_remove(FWindow->PaintSource);
    g_signal_handlers_disconnect_by_data(FWindow->Window, this);
    g_signal_handlers_disconnect_by_data(FWindow->Area, this);
    gtk_widget_destroy(FWindow->Window);
    g_object_unref(FWindow->Window);
}

void TForm::SetCaption(const std::string& caption)
{
    FCaption = caption;
    gtk_window_set_title(GTK_WINDOW(FWindow->Window), caption.c_str());
}

void TForm::SetClientSize(int32_t width, int32_t height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == ClientWidth() && height == ClientHeight())
        return;
    Store = TPixelBuffer(width, height, Color);
    gtk_widget_set_size_request(FWindow->Area, width * FZoom, height * FZoom);
    for (TControl* control : FControls)
        if (control->Align() == TAlign::Client)
            control->Bounds = ClientRect();
    Invalidate();
    if (OnResize)
        OnResize();
}

void TForm::ErrorBell()
{
    gtk_widget_error_bell(FWindow->Window);
}

void TForm::SetCentred(bool centred)
{
    FWindow->Centred = centred;
}

void TForm::SetIcon(int32_t width, int32_t height, std::span<const uint32_t> pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height)
        return;
    TGObjectPtr<GdkPixbuf> icon(gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height));
    guchar* rows = gdk_pixbuf_get_pixels(icon.get());
    const int stride = gdk_pixbuf_get_rowstride(icon.get());
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            guchar* out = rows + y * stride + x * 4;
            out[0] = (p >> 16) & 0xFF;
            out[1] = (p >> 8) & 0xFF;
            out[2] = p & 0xFF;
            out[3] = p >> 24;
        }
    gtk_window_set_icon(GTK_WINDOW(FWindow->Window), icon.get());
}

bool TForm::SetIconFromTheme(const std::string& themeFolder, const std::string& name)
{
    namespace fs = std::filesystem;
    std::vector<TGObjectPtr<GdkPixbuf>> icons;
    std::error_code error;
    for (auto it = fs::directory_iterator(themeFolder, error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::path file = it->path() / "apps" / (name + ".png");
        if (GdkPixbuf* icon = gdk_pixbuf_new_from_file(file.c_str(), nullptr))
            icons.emplace_back(icon);
    }
    if (icons.empty())
        return false;
    GList* list = nullptr;
    for (const auto& icon : icons)
        list = g_list_append(list, icon.get());
    gtk_window_set_icon_list(GTK_WINDOW(FWindow->Window), list);
    g_list_free(list);
    return true;
}

std::vector<int32_t> TForm::IconSizes() const
{
    std::vector<int32_t> sizes;
    GList* list = gtk_window_get_icon_list(GTK_WINDOW(FWindow->Window));
    for (GList* item = list; item != nullptr; item = item->next)
        sizes.push_back(gdk_pixbuf_get_width(GDK_PIXBUF(item->data)));
    g_list_free(list);
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

void TForm::SetCursor(TCursor cursor)
{
    FormCursor = cursor;
    RefreshCursor();
}

void TForm::Create()
{
    if (Created)
        return;
    Created = true;
    if (OnCreate)
        OnCreate();
}

void TForm::Show()
{
    if (Visible())
        return;
    Update();
    // The toolkit centres on the pointer's monitor; without a pointer the compositor places it.
    if (FWindow->Centred && SeatPointer(gtk_widget_get_display(FWindow->Window)) != nullptr)
        gtk_window_set_position(GTK_WINDOW(FWindow->Window), GTK_WIN_POS_CENTER);
    gtk_widget_show_all(FWindow->Window);
    RefreshCursor();
    if (OnShow)
        OnShow();
}

void TForm::Hide()
{
    if (!Visible())
        return;
    gtk_widget_hide(FWindow->Window);
    Application().FormHidden(*this);
}

void TForm::Close()
{
    TCloseAction action = TCloseAction::Hide;
    if (OnClose)
        OnClose(action);
    if (action == TCloseAction::Hide)
        Hide();
}

bool TForm::Visible() const
{
    return gtk_widget_get_visible(FWindow->Window) != FALSE;
}

bool TForm::Active() const
{
    return gtk_window_is_active(GTK_WINDOW(FWindow->Window)) != FALSE;
}

void TForm::SetFocus()
{
    gtk_window_present(GTK_WINDOW(FWindow->Window));
}

// On X11 the toolkit ends the launcher's startup notification of a shown window at once and
// takes the start's time stamp as the window's last user time.
void TForm::SetStartupId(const std::string& startupId)
{
    if (startupId.empty())
        return;
    gtk_window_set_startup_id(GTK_WINDOW(FWindow->Window), startupId.c_str());
#ifdef GDK_WINDOWING_WAYLAND
    GdkDisplay* display = gtk_widget_get_display(FWindow->Window);
    // Presenting the window activates it with the display's token, which the toolkit otherwise
    // takes only from this process's own start.
    if (GDK_IS_WAYLAND_DISPLAY(display))
        gdk_wayland_display_set_startup_notification_id(display, startupId.c_str());
#endif
}

int TForm::ShowModal()
{
    return Application().ShowModal(*this);
}

void TForm::InvalidateRect(const TRect& r)
{
    TRect area;
    if (!IntersectRect(area, r, ClientRect()))
        return;
    Pending = Union(Pending, area);
    if (FWindow->PaintSource == 0)
        FWindow->PaintSource
            = g_idle_add_full(GDK_PRIORITY_REDRAW - 10, PaintPending, this, nullptr);
}

void TForm::Update()
{
    const TRect area = Pending;
    Pending = {};
    if (IsRectEmpty(area))
        return;
    // The screen shows the area whatever a failing paint left in it.
    struct TShowArea {
        TForm& Form;
        TRect Area;
        ~TShowArea() { Form.QueueScreenUpdate(Area); }
    } show {*this, area};
    PaintArea(area);
}

void TForm::QueueScreenUpdate(const TRect& r)
{
    TRect area;
    if (IntersectRect(area, r, ClientRect()) && gtk_widget_get_realized(FWindow->Area))
        gtk_widget_queue_draw_area(FWindow->Area, area.Left * FZoom, area.Top * FZoom,
            RectWidth(area) * FZoom, RectHeight(area) * FZoom);
}

void TForm::PaintArea(const TRect& area)
{
    std::exception_ptr failure;
    const bool covered = std::any_of(FControls.begin(), FControls.end(), [&](const TControl* c) {
        return c->Visible() && c->Opaque() && Contains(c->BoundsRect(), area);
    });
    {
        TDeviceContext dc(Store);
        dc.SetRepaintArea(area);
        if (!covered)
            dc.FillRect(area, {Color, TBrushStyle::Solid});
        if (OnPaint) {
            TCanvas canvas(dc);
            canvas.Font = Font;
            try {
                OnPaint(canvas);
            } catch (...) {
                failure = std::current_exception();
            }
        }
    }
    // Bottom to top; a control that fails does not keep the others from painting.
    for (TControl* control : std::vector<TControl*>(FControls)) {
        TRect part;
        if (!control->Visible() || !IntersectRect(part, area, control->BoundsRect()))
            continue;
        TDeviceContext dc(Store);
        dc.SetOrigin({control->Left(), control->Top()});
        dc.SetRepaintArea({area.Left - control->Left(), area.Top - control->Top(),
            area.Right - control->Left(), area.Bottom - control->Top()});
        dc.SetClipBox(control->ClientRect());
        TCanvas canvas(dc);
        canvas.Font = Font;
        try {
            control->Paint(canvas);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

TControl* TForm::ControlAt(int32_t x, int32_t y) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        const TControl* c = *it;
        if (c->Visible() && c->Enabled() && x >= c->Left() && y >= c->Top()
            && x < c->Left() + c->Width() && y < c->Top() + c->Height())
            return *it;
    }
    return nullptr;
}

void TForm::AddControl(TControl* control)
{
    FControls.push_back(control);
}

void TForm::RemoveControl(TControl* control)
{
    std::erase(FControls, control);
    if (Capture == control)
        Capture = nullptr;
    if (control->Visible())
        InvalidateRect(control->BoundsRect());
}
