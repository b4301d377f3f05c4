#include "platform/NativeDialog.h"

#include "platform/GtkGlue.h"
#include "platform/Input.h"
#include "platform/MessageBox.h"
#include "platform/NativeGlue.h"
#include "platform/Screen.h"

#include <gdk/gdkkeysyms.h>

#include <cmath>
#include <memory>

namespace {

// The theme's buttons are taller than the dialog's places for them; these rules fit them.
constexpr const char* DialogStyle = R"(
window.native-dialog button { min-height: 0; min-width: 0; padding: 0 4px; }
window.native-dialog checkbutton { min-height: 0; padding: 0; }
window.native-dialog checkbutton check { min-height: 13px; min-width: 13px; margin: 0 2px 0 0; }
window.native-dialog.light-face { background-color: #f0f0f0; color: #000000; }
window.native-dialog.light-face button { background-image: none; background-color: #e1e1e1;
  border-color: #adadad; color: #000000; box-shadow: none; text-shadow: none; }
window.native-dialog.light-face button:hover { background-color: #e5f1fb; border-color: #0078d7; }
window.native-dialog.light-face button:active { background-color: #cce4f7; }
window.native-dialog.light-face checkbutton check { background-image: none;
  background-color: #ffffff; border-color: #333333; color: #000000; }
)";
constexpr const char* LightFaceClass = "light-face";

void InstallDialogStyle()
{
    static bool installed = false;
    GdkScreen* screen = gdk_screen_get_default();
    if (installed || screen == nullptr)
        return;
    installed = true;
    TGObjectPtr<GtkCssProvider> provider(gtk_css_provider_new());
    gtk_css_provider_load_from_data(provider.get(), DialogStyle, -1, nullptr);
    gtk_style_context_add_provider_for_screen(
        screen, GTK_STYLE_PROVIDER(provider.get()), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

guint KeyvalOf(uint16_t key)
{
    if (key >= 'A' && key <= 'Z')
        return GDK_KEY_a + (key - 'A');
    if (key >= '0' && key <= '9')
        return GDK_KEY_0 + (key - '0');
    switch (key) {
    case VK_RETURN:
        return GDK_KEY_Return;
    case VK_ESCAPE:
        return GDK_KEY_Escape;
    case VK_TAB:
        return GDK_KEY_Tab;
    case VK_SPACE:
        return GDK_KEY_space;
    default:
        return GDK_KEY_VoidSymbol;
    }
}

struct TEventFree {
    void operator()(GdkEvent* event) const { gdk_event_free(event); }
};

} // namespace

// The client area's container belongs to the window, which takes it and the form's drawing area
// down together after the form has let go of them.
struct TNativeDialog::TDialogParts {
    explicit TDialogParts(GtkWidget* fixed)
        : Fixed(fixed, TNativeWidget::Named)
    {
    }
    TNativeWidget Fixed;
    // Between the window and the container once a zoom above 1 is first set; the window owns it.
    GtkWidget* ZoomBin = nullptr;
};

namespace {

// The pointer's place in the client area, whichever of the window's parts the event came from.
bool ClientPoint(const TNativeDialog& dialog, double rootX, double rootY, int32_t& x, int32_t& y)
{
    GtkWidget* fixed = dialog.Container().Widget;
    GdkWindow* window = gtk_widget_get_window(fixed);
    if (window == nullptr)
        return false;
    int originX = 0;
    int originY = 0;
    gdk_window_get_origin(window, &originX, &originY);
    GtkAllocation allocation;
    gtk_widget_get_allocation(fixed, &allocation);
    // The origin is on the screen, the allocation in the container's own pixels.
    const int32_t zoom = dialog.Zoom();
    x = static_cast<int32_t>(std::floor((std::floor(rootX) - originX) / zoom)) - allocation.x;
    y = static_cast<int32_t>(std::floor((std::floor(rootY) - originY) / zoom)) - allocation.y;
    return true;
}

gboolean OnDialogMotion(GtkWidget*, GdkEventMotion* event, gpointer data)
{
    auto* dialog = static_cast<TNativeDialog*>(data);
    int32_t x = 0;
    int32_t y = 0;
    if (ClientPoint(*dialog, event->x_root, event->y_root, x, y))
        RunGuarded([&] { dialog->PointerMove(x, y); });
    return FALSE;
}

gboolean OnDialogButton(GtkWidget*, GdkEventButton* event, gpointer data)
{
    auto* dialog = static_cast<TNativeDialog*>(data);
    int32_t x = 0;
    int32_t y = 0;
    if (event->button != 1 || !ClientPoint(*dialog, event->x_root, event->y_root, x, y))
        return FALSE;
    if (event->type == GDK_BUTTON_PRESS)
        RunGuarded([&] { dialog->PointerDown(x, y); });
    else if (event->type == GDK_BUTTON_RELEASE)
        RunGuarded([&] { dialog->PointerUp(x, y); });
    return FALSE;
}

gboolean OnDialogKey(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto* dialog = static_cast<TNativeDialog*>(data);
    if (event->keyval != GDK_KEY_Escape || !dialog->OnCancel)
        return FALSE;
    RunGuarded([dialog] { dialog->OnCancel(); });
    return TRUE;
}

} // namespace

TNativeDialog::TNativeDialog()
    : Parts(std::make_unique<TDialogParts>(NewExactFixed()))
{
    InstallDialogStyle();
    GtkWidget* window = Window().Window;
    GtkWidget* area = Window().Area;
    GtkWidget* fixed = Parts->Fixed.Widget;
    // The form's drawing area stays in the window, hidden, so that the form's own bookkeeping
    // keeps working; the widgets take the client area.
    g_object_ref(area);
    gtk_container_remove(GTK_CONTAINER(window), area);
    gtk_fixed_put(GTK_FIXED(fixed), area, 0, 0);
    g_object_unref(area);
    gtk_widget_set_no_show_all(area, TRUE);
    gtk_widget_hide(area);
    gtk_container_add(GTK_CONTAINER(window), fixed);
    gtk_widget_show(fixed);

    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_style_context_add_class(gtk_widget_get_style_context(window), "native-dialog");
    // The toolkit handles the keys: focus moves, the default button, the buttons' own keys.
    const auto* form = static_cast<const TForm*>(this);
    for (const char* signal : {"key-press-event", "key-release-event"})
        g_signal_handlers_block_matched(window,
            static_cast<GSignalMatchType>(G_SIGNAL_MATCH_ID | G_SIGNAL_MATCH_DATA),
            g_signal_lookup(signal, GTK_TYPE_WIDGET), 0, nullptr, nullptr,
            const_cast<TForm*>(form));
    gtk_widget_add_events(
        window, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    g_signal_connect(window, "motion-notify-event", G_CALLBACK(OnDialogMotion), this);
    g_signal_connect(window, "button-press-event", G_CALLBACK(OnDialogButton), this);
    g_signal_connect(window, "button-release-event", G_CALLBACK(OnDialogButton), this);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnDialogKey), this);
}

TNativeDialog::~TNativeDialog()
{
    g_signal_handlers_disconnect_by_data(Window().Window, this);
}

void TNativeDialog::SetClientSize(int32_t width, int32_t height)
{
    TForm::SetClientSize(width, height);
    gtk_widget_set_size_request(Parts->Fixed.Widget, ClientWidth(), ClientHeight());
}

void TNativeDialog::SetZoom(int32_t zoom)
{
    TForm::SetZoom(zoom);
    if (Parts->ZoomBin == nullptr && Zoom() > 1) {
        GtkWidget* window = Window().Window;
        GtkWidget* fixed = Parts->Fixed.Widget;
        Parts->ZoomBin = NewZoomBin();
        g_object_ref(fixed);
        gtk_container_remove(GTK_CONTAINER(window), fixed);
        gtk_container_add(GTK_CONTAINER(Parts->ZoomBin), fixed);
        g_object_unref(fixed);
        gtk_container_add(GTK_CONTAINER(window), Parts->ZoomBin);
        gtk_widget_show(Parts->ZoomBin);
    }
    if (Parts->ZoomBin != nullptr)
        SetZoomBinZoom(Parts->ZoomBin, Zoom());
}

TNativeWidget& TNativeDialog::Container() const
{
    return Parts->Fixed;
}

void TNativeDialog::SetTabOrder(const std::vector<TNativeControl*>& order)
{
    // Each container gets the part of the order that lies in it, panels in their place.
    std::vector<std::pair<GtkWidget*, GList*>> chains;
    const auto chainOf = [&](GtkWidget* container) -> GList*& {
        for (auto& chain : chains)
            if (chain.first == container)
                return chain.second;
        return chains.emplace_back(container, nullptr).second;
    };
    chainOf(Parts->Fixed.Widget);
    for (TNativeControl* control : order) {
        GList*& chain = chainOf(control->Host().Container().Widget);
        chain = g_list_append(chain, control->Widget().Widget);
    }
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    for (auto& [container, chain] : chains) {
        gtk_container_set_focus_chain(GTK_CONTAINER(container), chain);
        g_list_free(chain);
    }
    G_GNUC_END_IGNORE_DEPRECATIONS
}

TNativeControl* TNativeDialog::FocusedControl() const
{
    const auto search = [](const auto& self, const TNativeHost& host) -> TNativeControl* {
        for (TNativeControl* control : host.Children()) {
            if (control->Focused())
                return control;
            if (const auto* inner = dynamic_cast<const TNativeHost*>(control))
                if (TNativeControl* found = self(self, *inner))
                    return found;
        }
        return nullptr;
    };
    return search(search, *this);
}

void TNativeDialog::PointerMove(int32_t x, int32_t y)
{
    PointerAt = {x, y};
    TPoint at;
    if (TNativeControl* control = NativeControlAt(PointerAt, at)) {
        if (control->OnMouseMove)
            control->OnMouseMove(at.X, at.Y);
    } else if (OnMouseMove) {
        OnMouseMove(0, x, y);
    }
    ApplyCursor();
}

void TNativeDialog::PointerDown(int32_t x, int32_t y)
{
    TPoint at;
    PressedOn = NativeControlAt({x, y}, at);
    if (PressedOn == nullptr && OnMouseDown)
        OnMouseDown(TMouseButton::Left, ssLeft, x, y);
}

void TNativeDialog::PointerUp(int32_t x, int32_t y)
{
    TPoint at;
    TNativeControl* pressed = PressedOn;
    PressedOn = nullptr;
    // Buttons and the check box click themselves; the others click on a press and release.
    if (pressed != nullptr && pressed == NativeControlAt({x, y}, at)
        && !GTK_IS_BUTTON(pressed->Widget().Widget))
        pressed->Click();
    if (pressed == nullptr && OnMouseUp)
        OnMouseUp(TMouseButton::Left, 0, x, y);
}

void TNativeDialog::DeliverKey(uint16_t key)
{
    GdkWindow* window = gtk_widget_get_window(Window().Window);
    const guint keyval = KeyvalOf(key);
    if (window == nullptr || keyval == GDK_KEY_VoidSymbol)
        return;
    GdkDisplay* display = gdk_window_get_display(window);
    // A display without a keyboard (a seatless compositor) has no keys to deliver.
    GdkDevice* keyboard = SeatKeyboard(display);
    if (keyboard == nullptr)
        return;
    // The keyboard speaks to the focused window; without a window manager nobody focuses it.
    if (!gtk_window_has_toplevel_focus(GTK_WINDOW(Window().Window))) {
        std::unique_ptr<GdkEvent, TEventFree> focus(gdk_event_new(GDK_FOCUS_CHANGE));
        focus->focus_change.window = GDK_WINDOW(g_object_ref(window));
        focus->focus_change.send_event = TRUE;
        focus->focus_change.in = TRUE;
        gdk_event_set_device(focus.get(), keyboard);
        gtk_main_do_event(focus.get());
    }
    for (const GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        std::unique_ptr<GdkEvent, TEventFree> event(gdk_event_new(type));
        event->key.window = GDK_WINDOW(g_object_ref(window));
        event->key.send_event = TRUE;
        event->key.time = GDK_CURRENT_TIME;
        event->key.keyval = keyval;
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(
                gdk_keymap_get_for_display(display), keyval, &keys, &count)
            && count > 0) {
            event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
            event->key.group = static_cast<guint8>(keys[0].group);
        }
        g_free(keys);
        gdk_event_set_device(event.get(), keyboard);
        gtk_main_do_event(event.get());
    }
}

void TNativeDialog::ApplyCursor()
{
    GdkWindow* window = gtk_widget_get_window(Window().Window);
    if (window == nullptr)
        return;
    TCursor cursor = ScreenCursor();
    if (cursor == crDefault) {
        TPoint at;
        const TNativeControl* over = NativeControlAt(PointerAt, at);
        cursor = over != nullptr && over->Cursor() != crDefault ? over->Cursor() : Cursor();
    }
    gdk_window_set_cursor(window, ToolkitCursor(cursor));
    gdk_display_flush(gdk_window_get_display(window));
}

TColour TNativeDialog::ThemeFaceColour() const
{
    GtkStyleContext* style = gtk_widget_get_style_context(Window().Window);
    const bool light = gtk_style_context_has_class(style, LightFaceClass);
    if (light)
        gtk_style_context_remove_class(style, LightFaceClass);
    GdkRGBA* face = nullptr;
    gtk_style_context_get(
        style, gtk_style_context_get_state(style), "background-color", &face, nullptr);
    if (light)
        gtk_style_context_add_class(style, LightFaceClass);
    const auto channel = [](double c) { return static_cast<uint8_t>(std::lround(c * 255)); };
    const TColour colour = face == nullptr
        ? MakeColour(255, 255, 255)
        : MakeColour(channel(face->red), channel(face->green), channel(face->blue));
    gdk_rgba_free(face);
    return colour;
}

bool TNativeDialog::LightFace() const
{
    return gtk_style_context_has_class(
        gtk_widget_get_style_context(Window().Window), LightFaceClass);
}

void TNativeDialog::SetLightFace(bool on)
{
    GtkStyleContext* style = gtk_widget_get_style_context(Window().Window);
    if (on)
        gtk_style_context_add_class(style, LightFaceClass);
    else
        gtk_style_context_remove_class(style, LightFaceClass);
}
