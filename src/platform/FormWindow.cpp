// The toolkit's signals of a form's window, turned into the form's input, paint and life events.
// No error passes back into the toolkit: every handler runs guarded.

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/GtkGlue.h"
#include "platform/Input.h"
#include "platform/MessageBox.h"

#include <gdk/gdkkeysyms.h>

#include <cmath>
#include <memory>

namespace {

struct TCairoSurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};

TShiftState Modifiers(guint state)
{
    TShiftState shift = 0;
    if ((state & GDK_SHIFT_MASK) != 0)
        shift |= ssShift;
    if ((state & GDK_CONTROL_MASK) != 0)
        shift |= ssCtrl;
    if ((state & GDK_MOD1_MASK) != 0)
        shift |= ssAlt;
    // The toolkit adds the named modifiers to the X ones that carry them; Mod4 is Super's.
    if ((state & (GDK_SUPER_MASK | GDK_MOD4_MASK)) != 0)
        shift |= ssSuper;
    if ((state & GDK_HYPER_MASK) != 0)
        shift |= ssHyper;
    if ((state & GDK_META_MASK) != 0)
        shift |= ssMeta;
    if ((state & GDK_BUTTON1_MASK) != 0)
        shift |= ssLeft;
    if ((state & GDK_BUTTON2_MASK) != 0)
        shift |= ssMiddle;
    if ((state & GDK_BUTTON3_MASK) != 0)
        shift |= ssRight;
    return shift;
}

bool ToButton(guint number, TMouseButton& button, TShiftState& flag)
{
    switch (number) {
    case 1:
        button = TMouseButton::Left;
        flag = ssLeft;
        return true;
    case 2:
        button = TMouseButton::Middle;
        flag = ssMiddle;
        return true;
    case 3:
        button = TMouseButton::Right;
        flag = ssRight;
        return true;
    default:
        return false;
    }
}

uint16_t KeyCode(guint keyval)
{
    const guint upper = gdk_keyval_to_upper(keyval);
    if (upper >= GDK_KEY_A && upper <= GDK_KEY_Z)
        return static_cast<uint16_t>('A' + (upper - GDK_KEY_A));
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9)
        return static_cast<uint16_t>('0' + (keyval - GDK_KEY_0));
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9)
        return static_cast<uint16_t>('0' + (keyval - GDK_KEY_KP_0));
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12)
        return static_cast<uint16_t>(VK_F1 + (keyval - GDK_KEY_F1));
    switch (keyval) {
    case GDK_KEY_BackSpace:
        return VK_BACK;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
    case GDK_KEY_KP_Tab:
        return VK_TAB;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
        return VK_RETURN;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
        return VK_SHIFT;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
        return VK_CONTROL;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
        return VK_MENU;
    case GDK_KEY_Caps_Lock:
        return VK_CAPITAL;
    case GDK_KEY_Escape:
        return VK_ESCAPE;
    case GDK_KEY_space:
        return VK_SPACE;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
        return VK_LEFT;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up:
        return VK_UP;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
        return VK_RIGHT;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
        return VK_DOWN;
    case GDK_KEY_plus:
    case GDK_KEY_equal:
        return VK_OEM_PLUS;
    case GDK_KEY_minus:
        return VK_OEM_MINUS;
    case GDK_KEY_KP_Add:
        return VK_ADD;
    case GDK_KEY_KP_Subtract:
        return VK_SUBTRACT;
    default:
        return 0;
    }
}

// The typed character of a key, as one byte; 0 for keys that type none.
char TypedChar(const GdkEventKey* event)
{
    const gunichar c = gdk_keyval_to_unicode(event->keyval);
    if (c == 0 || c > 127)
        return 0;
    if ((event->state & GDK_CONTROL_MASK) != 0 && g_ascii_isalpha(static_cast<gchar>(c)))
        return static_cast<char>(g_ascii_toupper(static_cast<gchar>(c)) - 'A' + 1);
    return static_cast<char>(c);
}

// A co-ordinate of the drawing area in client pixels of the zoomed form.
int32_t ClientCoordinate(double at, const TForm& form)
{
    return static_cast<int32_t>(std::floor(at / form.Zoom()));
}

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    TPixelBuffer& store = form->BackingStore();
    if (store.Width() == 0 || store.Height() == 0)
        return TRUE;
    std::unique_ptr<cairo_surface_t, TCairoSurfaceFree> source(
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(store.Pixels()),
            CAIRO_FORMAT_RGB24, store.Width(), store.Height(), store.StrideBytes()));
    // Scaled by the window's scale factor and the zoom, each pixel becomes a crisp block.
    cairo_scale(cr, form->Zoom(), form->Zoom());
    cairo_set_source_surface(cr, source.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    return TRUE;
}

gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer data)
{
    TMouseButton button;
    TShiftState flag;
    // A double click also arrives as two ordinary presses; its extra event is dropped.
    if (event->type != GDK_BUTTON_PRESS || !ToButton(event->button, button, flag))
        return TRUE;
    auto* form = static_cast<TForm*>(data);
    RunGuarded([&] {
        form->MouseDown(button, Modifiers(event->state) | flag, ClientCoordinate(event->x, *form),
            ClientCoordinate(event->y, *form));
    });
    return TRUE;
}

gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data)
{
    TMouseButton button;
    TShiftState flag;
    if (!ToButton(event->button, button, flag))
        return TRUE;
    auto* form = static_cast<TForm*>(data);
    RunGuarded([&] {
        form->MouseUp(button, Modifiers(event->state) & ~flag, ClientCoordinate(event->x, *form),
            ClientCoordinate(event->y, *form));
    });
    return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    RunGuarded([&] {
        form->MouseMove(Modifiers(event->state), ClientCoordinate(event->x, *form),
            ClientCoordinate(event->y, *form));
    });
    return TRUE;
}

gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    const uint16_t key = KeyCode(event->keyval);
    const char typed = TypedChar(event);
    RunGuarded([&] {
        if (key != 0)
            form->KeyDown(key, Modifiers(event->state));
        if (typed != 0)
            form->KeyPress(typed);
    });
    return TRUE;
}

gboolean OnKeyRelease(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    const uint16_t key = KeyCode(event->keyval);
    if (key != 0)
        RunGuarded([&] { form->KeyUp(key, Modifiers(event->state)); });
    return TRUE;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    RunGuarded([form] { form->Close(); });
    return TRUE;
}

gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    RunGuarded([form] { form->Activate(); });
    return FALSE;
}

// Keys and buttons let go elsewhere never come back to this window as releases.
gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    RunGuarded([form] {
        form->InputLost();
        form->Deactivate();
    });
    Application().FormDeactivated();
    return FALSE;
}

void OnGrabNotify(GtkWidget*, gboolean wasGrabbed, gpointer data)
{
    // A modal window of this process takes the input without moving the window system's focus.
    if (wasGrabbed == FALSE) {
        auto* form = static_cast<TForm*>(data);
        RunGuarded([form] { form->InputLost(); });
    }
}

gboolean OnGrabBroken(GtkWidget*, GdkEventGrabBroken*, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    RunGuarded([form] { form->InputLost(); });
    return FALSE;
}

void OnRealize(GtkWidget*, gpointer data)
{
    auto* form = static_cast<TForm*>(data);
    RunGuarded([form] { form->RefreshCursor(); });
}

} // namespace

void ConnectFormSignals(TForm& form)
{
    GtkWidget* window = form.Window().Window;
    GtkWidget* area = form.Window().Area;
    gtk_widget_add_events(area,
        GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK
            | GDK_LEAVE_NOTIFY_MASK);
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), &form);
    g_signal_connect(area, "button-press-event", G_CALLBACK(OnButtonPress), &form);
    g_signal_connect(area, "button-release-event", G_CALLBACK(OnButtonRelease), &form);
    g_signal_connect(area, "motion-notify-event", G_CALLBACK(OnMotion), &form);
    g_signal_connect(area, "realize", G_CALLBACK(OnRealize), &form);
    g_signal_connect(area, "grab-broken-event", G_CALLBACK(OnGrabBroken), &form);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), &form);
    g_signal_connect(window, "key-release-event", G_CALLBACK(OnKeyRelease), &form);
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), &form);
    g_signal_connect(window, "focus-in-event", G_CALLBACK(OnFocusIn), &form);
    g_signal_connect(window, "focus-out-event", G_CALLBACK(OnFocusOut), &form);
    g_signal_connect(window, "grab-notify", G_CALLBACK(OnGrabNotify), &form);
}
