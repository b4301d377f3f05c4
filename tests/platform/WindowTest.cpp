#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/GtkGlue.h"
#include "platform/HandCursors.h"
#include "platform/Label.h"
#include "platform/PaintBox.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "platform/Timer.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

// Xlib's macros come after the test framework, whose names they would replace.
#include <X11/Xlib.h>

namespace {

constexpr TColour Red = MakeColour(255, 0, 0);
constexpr TColour Blue = MakeColour(0, 0, 255);

TColour Checker(int32_t x, int32_t y)
{
    return (x + y) % 2 != 0 ? Red : Blue;
}

// A shown 4 x 2 form whose paint box paints a red and blue checker board.
struct TShownForm : ::testing::Test {
    TShownForm()
    {
        Form.SetClientSize(4, 2);
        Box.SetBounds(0, 0, 4, 2);
        Box.OnPaint = [](TCanvas& canvas) {
            for (int32_t y = 0; y < 2; ++y)
                for (int32_t x = 0; x < 4; ++x) {
                    canvas.Brush.Colour = Checker(x, y);
                    canvas.FillRect({x, y, x + 1, y + 1});
                }
        };
        Form.Show();
        ProcessMessagesUntil([this] { return gtk_widget_get_mapped(Form.Window().Area) != FALSE; });
    }
    GdkWindow* AreaWindow() const { return gtk_widget_get_window(Form.Window().Area); }

    TForm Form;
    TPaintBox Box {Form};
};

TEST_F(TShownForm, TheScreenShowsTheBackingStoreScaledWithoutBlending)
{
    const auto screenShows = [this] {
        TGObjectPtr<GdkPixbuf> shot(gdk_pixbuf_get_from_window(AreaWindow(), 0, 0, 4, 2));
        if (!shot)
            return false;
        const guchar* p = gdk_pixbuf_get_pixels(shot.get());
        const int stride = gdk_pixbuf_get_rowstride(shot.get());
        const int channels = gdk_pixbuf_get_n_channels(shot.get());
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const guchar* q = p + y * stride + x * channels;
                if (MakeColour(q[0], q[1], q[2]) != Checker(x, y))
                    return false;
            }
        return true;
    };
    EXPECT_TRUE(ProcessMessagesUntil(screenShows));

    // At scale 2 each pixel becomes a 2 x 2 block of its own colour.
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8, 4);
    cairo_surface_set_device_scale(image, 2, 2);
    cairo_t* cr = cairo_create(image);
    gtk_widget_draw(Form.Window().Area, cr);
    cairo_destroy(cr);
    cairo_surface_flush(image);
    const auto* pixels = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image));
    const int stride = cairo_image_surface_get_stride(image) / 4;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixels[y * stride + x] & 0xFFFFFF, Checker(x / 2, y / 2)) << x << "," << y;
    cairo_surface_destroy(image);
}

TEST_F(TShownForm, TheHandsLoadAndTheBusyCursorOverridesEveryOther)
{
    ASSERT_TRUE(LoadCursorResource(1, HandPointCursorResource));
    ASSERT_TRUE(LoadCursorResource(2, HandOpenCursorResource));
    EXPECT_FALSE(LoadCursorResource(3, 2999));
    for (const int resource : {HandPointCursorResource, HandOpenCursorResource}) {
        const THandCursorPicture& hand = *FindCursorPicture(resource);
        EXPECT_NE(hand.Rows[static_cast<size_t>(hand.HotY)][hand.HotX], '.')
            << "hot spot off the hand";
    }

    Box.SetCursor(1);
    Form.MouseMove(0, 1, 1);
    EXPECT_EQ(gdk_window_get_cursor(AreaWindow()), ToolkitCursor(1));
    {
        TBusyCursor busy;
        EXPECT_EQ(gdk_window_get_cursor(AreaWindow()), ToolkitCursor(crHourGlass));
    }
    EXPECT_EQ(gdk_window_get_cursor(AreaWindow()), ToolkitCursor(1));
    Box.SetVisible(false);
    EXPECT_EQ(gdk_window_get_cursor(AreaWindow()), nullptr);
}

// Sends a toolkit event to the widget as the window system would deliver it.
void Send(GtkWidget* widget, GdkEvent* event)
{
    gtk_widget_event(widget, event);
    gdk_event_free(event);
}

GdkEvent* KeyEvent(GtkWidget* widget, GdkEventType type, guint keyval, guint state = 0)
{
    GdkEvent* event = gdk_event_new(type);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->key.keyval = keyval;
    event->key.state = state;
    return event;
}

GdkEvent* ButtonEvent(GtkWidget* widget, GdkEventType type, guint button, double x, double y)
{
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->button.button = button;
    event->button.x = x;
    event->button.y = y;
    return event;
}

TEST_F(TShownForm, ToolkitKeysAndClicksArriveAsTheFormsEvents)
{
    std::string log;
    Form.OnKeyDown = [&](uint16_t& key, TShiftState shift) {
        log += "down " + std::to_string(key) + (shift & ssShift ? "S " : " ");
    };
    Form.OnKeyPress = [&](char& key) { log += std::string("press ") + key + " "; };
    Form.OnKeyUp = [&](uint16_t& key, TShiftState) { log += "up " + std::to_string(key) + " "; };
    Box.OnMouseDown = [&](TMouseButton b, TShiftState shift, int32_t x, int32_t y) {
        log += "mouse " + std::to_string(static_cast<int>(b)) + (shift & ssLeft ? "L" : "")
            + std::to_string(x) + std::to_string(y) + " ";
    };
    GtkWidget* window = Form.Window().Window;
    Send(window, KeyEvent(window, GDK_KEY_PRESS, GDK_KEY_q));
    Send(window, KeyEvent(window, GDK_KEY_PRESS, GDK_KEY_Q, GDK_SHIFT_MASK));
    Send(window, KeyEvent(window, GDK_KEY_PRESS, GDK_KEY_Left));
    Send(window, KeyEvent(window, GDK_KEY_RELEASE, GDK_KEY_Left));
    EXPECT_EQ(log, "down 81 press q down 81S press Q down 37 up 37 ");

    log.clear();
    GtkWidget* area = Form.Window().Area;
    Send(area, ButtonEvent(area, GDK_BUTTON_PRESS, 1, 2.7, 1.2));
    Send(area, ButtonEvent(area, GDK_2BUTTON_PRESS, 1, 2.7, 1.2)); // a double click's extra event
    Send(area, ButtonEvent(area, GDK_BUTTON_PRESS, 3, 0, 0));
    EXPECT_EQ(log, "mouse 0L21 mouse 100 ");
}

TEST_F(TShownForm, EveryModifierKeyArrivesAndLockKeysDoNot)
{
    const struct {
        guint State;
        TShiftState Expected;
    } cases[] = {{GDK_CONTROL_MASK | GDK_SUPER_MASK, ssCtrl | ssSuper}, {GDK_MOD4_MASK, ssSuper},
        {GDK_HYPER_MASK, ssHyper}, {GDK_META_MASK | GDK_MOD1_MASK, ssMeta | ssAlt},
        {GDK_CONTROL_MASK | GDK_LOCK_MASK | GDK_MOD2_MASK, ssCtrl}};
    TShiftState held = 0;
    Form.OnKeyDown = [&](uint16_t&, TShiftState shift) { held = shift; };
    GtkWidget* window = Form.Window().Window;
    for (const auto& c : cases) {
        Send(window, KeyEvent(window, GDK_KEY_PRESS, GDK_KEY_plus, c.State));
        EXPECT_EQ(held, c.Expected) << std::hex << c.State;
    }
}

GdkEvent* FocusOutEvent(GtkWidget* widget)
{
    GdkEvent* event = gdk_event_new(GDK_FOCUS_CHANGE);
    event->focus_change.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->focus_change.in = FALSE;
    return event;
}

// A box that keeps the mouse while a button is held on it, as the game's board does.
struct TCapturingBox : TPaintBox {
    explicit TCapturingBox(TForm& form)
        : TPaintBox(form)
    {
        SetCaptureMouse(true);
    }
};

TEST_F(TShownForm, LosingTheFocusOrAModalWindowLetsGoOfHeldKeysAndTheCaptureAtOnce)
{
    TCapturingBox box(Form);
    box.SetBounds(0, 0, 4, 2);
    std::string log;
    Form.OnKeyUp = [&](uint16_t& key, TShiftState) { log += "up " + std::to_string(key) + " "; };
    box.OnMouseUp = [&](TMouseButton, TShiftState, int32_t x, int32_t y) {
        log += "release " + std::to_string(x) + std::to_string(y) + " ";
    };
    GtkWidget* window = Form.Window().Window;
    Send(window, KeyEvent(window, GDK_KEY_PRESS, GDK_KEY_a));
    Send(window, FocusOutEvent(window));
    EXPECT_EQ(log, "up 65 ");

    log.clear();
    Send(window, KeyEvent(window, GDK_KEY_PRESS, GDK_KEY_b));
    Form.MouseDown(TMouseButton::Left, ssLeft, 1, 1);
    TForm dialog;
    TTimer closer;
    closer.SetInterval(20);
    closer.SetOnTimer([&] { dialog.Close(); });
    dialog.ShowModal();
    // The release comes outside the box; the late one, whenever it comes, is not passed on.
    EXPECT_EQ(log, "up 66 release -1-1 ");
    Form.MouseUp(TMouseButton::Left, 0, 1, 1);
    EXPECT_EQ(log, "up 66 release -1-1 ");
    EXPECT_EQ(Form.MouseCapture(), nullptr);
}

TEST_F(TShownForm, AFailingAccessibleSourceIsReportedAndAskedAgainAtTheNextQuestion)
{
    TMessageBoxRecorder boxes;
    bool failing = true;
    SetFormAccessibility(Form, [&] {
        if (failing)
            throw std::runtime_error("no items now");
        TAccessibleItem item;
        item.Name = "item";
        return std::vector<TAccessibleItem>(2, item);
    });
    AtkObject* area = gtk_widget_get_accessible(Form.Window().Area);
    EXPECT_EQ(atk_object_get_n_accessible_children(area), 0);
    failing = false;
    EXPECT_EQ(atk_object_get_n_accessible_children(area), 2);
    failing = true;
    AtkObject* child = atk_object_ref_accessible_child(area, 1);
    ASSERT_NE(child, nullptr);
    EXPECT_STREQ(atk_object_get_name(child), "item") << "the items as last read";
    g_object_unref(child);
    ASSERT_EQ(boxes.Requests.size(), 3u);
    EXPECT_EQ(boxes.Requests[0].Text, "no items now");

    // The form drops its items while the failure is reported.
    SetMessageBoxHook([this](const TMessageBoxRequest&) {
        SetFormAccessibility(Form, nullptr);
        return TMessageBoxAnswer::Ok;
    });
    EXPECT_EQ(atk_object_get_n_accessible_children(area), 0);
}

// A form with items must leave every other widget's accessible as the toolkit made it: a form
// without items, and widgets whose accessible kinds are first used afterwards.
TEST_F(TShownForm, WidgetsWithoutItemsHaveNoAccessibleChildrenBesideAFormWithItems)
{
    SetFormAccessibility(Form, [] { return std::vector<TAccessibleItem>(1); });
    TForm plain;
    const TGObjectPtr<GtkWidget> image(GTK_WIDGET(g_object_ref_sink(gtk_image_new())));
    const TGObjectPtr<GtkWidget> spinner(GTK_WIDGET(g_object_ref_sink(gtk_spinner_new())));
    EXPECT_EQ(
        atk_object_get_n_accessible_children(gtk_widget_get_accessible(Form.Window().Area)), 1);
    for (GtkWidget* widget : {plain.Window().Area, image.get(), spinner.get()}) {
        AtkObject* accessible = gtk_widget_get_accessible(widget);
        EXPECT_EQ(atk_object_get_n_accessible_children(accessible), 0)
            << G_OBJECT_TYPE_NAME(widget);
        EXPECT_EQ(atk_object_ref_accessible_child(accessible, 0), nullptr);
    }
}

TEST(Shell, AddressesWithoutAHandlerAreRefused)
{
    EXPECT_FALSE(OpenAddress(""));
    EXPECT_FALSE(OpenAddress("no-such-scheme-pw:somewhere"));
}

TEST_F(TShownForm, PostedMessagesReachTheHookAndAModalShowingEndsWhenItCloses)
{
    const uint32_t message = Application().RegisterWindowMessage("Check for Pathwarden instance");
    EXPECT_GE(message, 0xC000u);
    EXPECT_EQ(Application().RegisterWindowMessage("Check for Pathwarden instance"), message);
    EXPECT_NE(Application().RegisterWindowMessage("another"), message);
    std::vector<uint32_t> seen;
    Application().OnMessage = [&](const TMessage& m, bool&) {
        if (m.Msg != TMessage::ToolkitEvent)
            seen.push_back(m.Msg);
    };
    Application().PostMessage({message});
    EXPECT_TRUE(ProcessMessagesUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, std::vector<uint32_t> {message});
    Application().OnMessage = nullptr;

    TForm dialog;
    TTimer closer;
    closer.SetInterval(20);
    closer.SetOnTimer([&] {
        dialog.ModalResult = 7;
        dialog.Close();
    });
    EXPECT_EQ(dialog.ShowModal(), 7);
    EXPECT_FALSE(dialog.Visible());
}

// A launcher watches the root window for the startup notification's messages, sent in pieces of
// 20 bytes, the last one ending with a zero byte.
TEST_F(TShownForm, AStartupIdHandedOverEndsItsNotificationOnX11)
{
    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    XSelectInput(x, DefaultRootWindow(x), PropertyChangeMask);
    XSync(x, False);
    const Atom first = XInternAtom(x, "_NET_STARTUP_INFO_BEGIN", False);
    const Atom next = XInternAtom(x, "_NET_STARTUP_INFO", False);
    Form.SetStartupId("pw-test-launch-7_TIME1234");
    gdk_display_flush(gdk_display_get_default());
    std::string message;
    bool complete = false;
    ProcessMessagesUntil([&] {
        while (!complete && XPending(x) > 0) {
            XEvent event;
            XNextEvent(x, &event);
            const XClientMessageEvent& piece = event.xclient;
            if (event.type != ClientMessage
                || (piece.message_type != first && piece.message_type != next))
                continue;
            const size_t length = strnlen(piece.data.b, sizeof piece.data.b);
            message.append(piece.data.b, length);
            complete = length < sizeof piece.data.b;
        }
        return complete;
    });
    XCloseDisplay(x);
    EXPECT_EQ(message, "remove: ID=\"pw-test-launch-7_TIME1234\"");
}

TEST_F(TShownForm, ATransparentLabelDrawsOnlyItsLetters)
{
    Form.SetClientSize(40, 20);
    Box.SetVisible(false);
    Form.Color = Blue;
    TLabel label(Form);
    label.SetBounds(0, 0, 40, 20);
    label.Transparent = true;
    label.Font = {"Sans", 16, Red, true};
    label.SetCaption("MW");
    Form.Update();
    int letters = 0;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 40; ++x)
            letters += Form.BackingStore().Pixel(x, y) == Red;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 40; ++x)
            EXPECT_EQ(Form.BackingStore().Pixel(x, y) >> 24, 0u) << "pixels keep 0x00RRGGBB";
    EXPECT_GT(letters, 10);
    EXPECT_EQ(Form.BackingStore().Pixel(39, 19), Blue);
}

} // namespace
