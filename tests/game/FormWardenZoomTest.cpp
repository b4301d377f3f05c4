#include "FormWardenFixture.h"
#include "WindowAnnouncements.h"
#include "game/WindowZoom.h"
#include "platform/GtkGlue.h"
#include "support/MessageBoxRecorder.h"

#include <X11/XKBlib.h>
#include <cctype>
#include <gdk/gdkx.h>
// Xlib's event name would hide the form's handler of the same name.
#undef KeyPress

namespace {

// The bells rung for a window, heard through a connection of the test's own.
class TBellsRung {
public:
    explicit TBellsRung(GtkWidget* window)
        : Window(gdk_x11_window_get_xid(gtk_widget_get_window(window)))
    {
        int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
        if (!Display
            || !XkbQueryExtension(Display.get(), &opcode, &EventBase, &error, &major, &minor))
            return;
        XkbSelectEvents(Display.get(), XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
        XSync(Display.get(), False);
    }
    int Count()
    {
        if (!Display)
            return Rung;
        gdk_display_sync(gdk_display_get_default());
        XSync(Display.get(), False);
        while (XPending(Display.get()) > 0) {
            XkbEvent event;
            XNextEvent(Display.get(), &event.core);
            Rung += event.type == EventBase && event.any.xkb_type == XkbBellNotify
                && event.bell.window == Window;
        }
        return Rung;
    }

private:
    struct TClose {
        void operator()(::Display* d) const { XCloseDisplay(d); }
    };
    std::unique_ptr<::Display, TClose> Display {
        XOpenDisplay(gdk_display_get_name(gdk_display_get_default()))};
    ::Window Window;
    int EventBase = -1;
    int Rung = 0;
};

class FormWardenZoomTest : public TFormWardenFixture {
protected:
    FormWardenZoomTest()
        : TFormWardenFixture("")
    {
        Form->Show();
        Form->Update();
    }
    ~FormWardenZoomTest() override { Form->Hide(); }

    // Sets the zoom directly, whatever the screen, and waits for the window to take the size.
    void Zoom(int32_t z)
    {
        Form->SetZoom(z);
        ASSERT_TRUE(ProcessMessagesUntil(
            [&] { return gtk_widget_get_allocated_width(Form->Window().Area) == 517 * z; }));
    }
    // The client area as the draw handler puts it on the screen.
    std::vector<uint32_t> Drawn()
    {
        Form->Update();
        const int32_t w = 517 * Form->Zoom();
        const int32_t h = 403 * Form->Zoom();
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
        cairo_t* cr = cairo_create(image);
        gtk_widget_draw(Form->Window().Area, cr);
        cairo_destroy(cr);
        cairo_surface_flush(image);
        const auto* p = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image));
        const int32_t stride = cairo_image_surface_get_stride(image) / 4;
        std::vector<uint32_t> pixels;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                pixels.push_back(p[y * stride + x] & 0xFFFFFF);
        cairo_surface_destroy(image);
        return pixels;
    }
    // At 2x and 3x every pixel is the 1x pixel of its block.
    void ExpectBlocksOfThePicture(const char* state)
    {
        Zoom(1);
        const std::vector<uint32_t> designed = Drawn();
        for (const int32_t z : {2, 3}) {
            Zoom(z);
            const std::vector<uint32_t> zoomed = Drawn();
            size_t wrong = 0;
            for (int32_t y = 0; y < 403 * z; ++y)
                for (int32_t x = 0; x < 517 * z; ++x)
                    wrong
                        += zoomed[size_t(y) * 517 * z + x] != designed[size_t(y / z) * 517 + x / z];
            EXPECT_EQ(wrong, 0u) << state << " at " << z << "x";
        }
    }
    void Click(int32_t x, int32_t y)
    {
        for (const GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
            GdkEvent* event = gdk_event_new(type);
            event->button.window
                = GDK_WINDOW(g_object_ref(gtk_widget_get_window(Form->Window().Area)));
            event->button.button = 1;
            event->button.x = x;
            event->button.y = y;
            gtk_widget_event(Form->Window().Area, event);
            gdk_event_free(event);
        }
    }
};

TEST_F(FormWardenZoomTest, TheZoomedPictureIsTheDesignedOneInBlocksIdlePlayingAndWon)
{
    ExpectBlocksOfThePicture("idle");
    Zoom(1);
    Click(377, 343); // Start
    while (Form->tmrWarden.Enabled())
        Ticks(1);
    ExpectBlocksOfThePicture("playing");
    for (const char key : SolvingKeys(Game().Board)) {
        Type(static_cast<uint16_t>(std::toupper(key)), 0, key);
        Ticks(4);
    }
    ASSERT_TRUE(Game().Won());
    ExpectBlocksOfThePicture("won");
}

TEST_F(FormWardenZoomTest, AClickAtTheZoomedPointHitsWhatItHitsAtOneX)
{
    for (const int32_t z : {2, 3}) {
        Zoom(z);
        const int32_t cols = Game().Board.Cols();
        Click(219 * z + z - 1, 343 * z); // one column more
        EXPECT_EQ(Game().Board.Cols(), cols + 1) << z;
        const TRoadBoard before = Game().Board.Current;
        Click(120 * z, 340 * z); // the size caption: a new picture
        EXPECT_NE(Game().Board.Current, before) << z;
    }
}

TEST_F(FormWardenZoomTest, CtrlPlusMinusAndZeroStepTheZoomOncePerPressAndKeepIt)
{
    std::vector<int32_t> kept;
    Form->OnZoomChanged = [&](int32_t z) { kept.push_back(z); };
    ASSERT_TRUE(Form->ZoomFits(2)) << "the test screen fits 2x";
    Form->KeyDown(VK_OEM_PLUS, ssCtrl | ssShift);
    Form->KeyDown(VK_OEM_PLUS, ssCtrl | ssShift); // the keyboard's repeat
    EXPECT_EQ(Form->Zoom(), 2);
    Form->KeyUp(VK_OEM_PLUS, ssCtrl);
    Type(VK_SUBTRACT, ssCtrl, 0);
    EXPECT_EQ(Form->Zoom(), 1);
    Type(VK_ADD, ssCtrl, 0);
    Type('0', ssCtrl, '0');
    EXPECT_EQ(Form->Zoom(), 1);
    EXPECT_EQ(kept, (std::vector<int32_t> {2, 1, 2, 1}));
    Type(VK_OEM_PLUS, ssAlt, 0); // Alt: not a zoom key
    EXPECT_EQ(Form->Zoom(), 1);
    EXPECT_FALSE(ApplyZoom(*Form, MaxZoom + 1));
    EXPECT_EQ(ApplyZoom(*Form, 3), Form->ZoomFits(3));
}

// The window's pictures at each state of one fixed game, as hashes of what the window showed
// when they were recorded: any change to how the window draws shows here.
TEST_F(FormWardenZoomTest, TheWindowShowsTheRecordedPicturesOfAFixedGame)
{
    const auto hash = [](const std::vector<uint32_t>& pixels) {
        uint64_t h = 14695981039346656037u;
        for (const uint32_t p : pixels)
            h = (h ^ p) * 1099511628211u;
        return h;
    };
    Random.FallBack(2024);
    Click(219, 343); // one column more, then one less: a picture from the fixed seed
    Click(63, 343);
    std::vector<uint64_t> seen {hash(Drawn())};
    Click(377, 343); // Start
    while (Form->tmrWarden.Enabled())
        Ticks(1);
    seen.push_back(hash(Drawn()));
    const std::string keys = SolvingKeys(Game().Board);
    Form->KeyDown(static_cast<uint16_t>(std::toupper(keys[0])), 0);
    Form->KeyPress(keys[0]);
    Ticks(2);
    seen.push_back(hash(Drawn())); // the second frame of the slide
    Form->KeyUp(static_cast<uint16_t>(std::toupper(keys[0])), 0);
    Ticks(2);
    for (const char key : keys.substr(1)) {
        Type(static_cast<uint16_t>(std::toupper(key)), 0, key);
        Ticks(4);
    }
    ASSERT_TRUE(Game().Won());
    seen.push_back(hash(Drawn()));
    Zoom(2);
    seen.push_back(hash(Drawn()));
    EXPECT_EQ(seen,
        (std::vector<uint64_t> {16397735753164049738u, 5501508487299680457u, 265722142842441334u,
            17120986090511388021u, 8078951467648652373u}));
}

TEST_F(FormWardenZoomTest, ARefusedZoomStepRingsTheBellAndSaysWhy)
{
    TBellsRung bells(Form->Window().Window);
    TWindowAnnouncements window;
    window.Attach();
    ASSERT_FALSE(Form->ZoomFits(3)) << "the test screen fits 2x, not 3x";
    Type(VK_OEM_MINUS, ssCtrl, 0);
    Type('0', ssCtrl, '0'); // already the designed size: no step to refuse
    Type(VK_OEM_PLUS, ssCtrl, 0);
    EXPECT_EQ(bells.Count(), 1);
    Type(VK_ADD, ssCtrl, 0);
    Form->SetZoom(MaxZoom);
    Type(VK_OEM_PLUS, ssCtrl, 0);
    EXPECT_EQ(bells.Count(), 3);
    EXPECT_EQ(window.Announced,
        (std::vector<std::string> {"Already at the smallest zoom, 1x",
            "Zoom 3x would not fit the screen", "Already at the largest zoom, 4x"}));
}

TEST(ZoomForKey, StepsOneUpOrDownOrBackToOneAndIgnoresOtherKeys)
{
    constexpr std::nullopt_t none = std::nullopt;
    const struct {
        uint16_t Key;
        TShiftState Shift;
        int32_t Zoom;
        std::optional<int32_t> Expected;
    } cases[] = {{VK_OEM_PLUS, ssCtrl, 1, 2}, {VK_ADD, ssCtrl | ssShift, 3, 4},
        {VK_OEM_PLUS, ssCtrl, MaxZoom, MaxZoom + 1}, {VK_OEM_MINUS, ssCtrl, 3, 2},
        {VK_SUBTRACT, ssCtrl, 1, 0}, {'0', ssCtrl, 3, 1}, {VK_OEM_PLUS, 0, 1, none},
        {VK_OEM_PLUS, ssCtrl | ssAlt, 1, none}, {'1', ssCtrl, 2, none},
        {VK_OEM_PLUS, ssCtrl | ssSuper, 1, none}, {VK_ADD, ssCtrl | ssHyper, 1, none},
        {VK_OEM_MINUS, ssCtrl | ssMeta, 2, none}};
    for (const auto& c : cases)
        EXPECT_EQ(ZoomForKey(c.Key, c.Shift, c.Zoom), c.Expected) << c.Key << " " << c.Zoom;
}

} // namespace
