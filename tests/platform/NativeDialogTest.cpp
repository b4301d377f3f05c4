#include "platform/NativeDialog.h"
#include "platform/GtkGlue.h"
#include "platform/Input.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TNativeDialogTest : ::testing::Test {
    TNativeDialogTest()
    {
        Dialog.SetClientSize(100, 80);
        Dialog.OnMouseMove = [this](TShiftState, int32_t x, int32_t y) {
            Log.push_back("form " + std::to_string(x) + "," + std::to_string(y));
        };
    }
    void Record(TNativeControl& control)
    {
        control.OnMouseMove = [this, &control](int32_t x, int32_t y) {
            Log.push_back(control.Name + " " + std::to_string(x) + "," + std::to_string(y));
        };
        control.OnClick = [this, &control] { Log.push_back(control.Name + " click"); };
    }
    TNativeDialog Dialog;
    std::vector<std::string> Log;
};

TEST_F(TNativeDialogTest, PointerGoesToTheTopmostEnabledControlElseTheForm)
{
    TNativeShape shape(Dialog);
    shape.Name = "shape";
    shape.SetBounds(0, 0, 50, 50);
    Record(shape);
    TNativeLabel quiet(Dialog); // no handlers: keeps the pointer from the shape below
    quiet.SetBounds(10, 10, 20, 20);
    TNativeBevel bevel(Dialog);
    bevel.SetBounds(0, 0, 100, 80);
    bevel.SetEnabled(false);
    TNativePanel panel(Dialog);
    panel.SetBounds(60, 40, 30, 30);
    TNativeLabel inPanel(panel);
    inPanel.Name = "inPanel";
    inPanel.SetBounds(5, 5, 10, 10);
    Record(inPanel);

    Dialog.PointerMove(5, 6);
    Dialog.PointerMove(15, 15);
    Dialog.PointerMove(55, 5);
    Dialog.PointerMove(66, 47);
    Dialog.PointerDown(66, 47);
    Dialog.PointerUp(67, 48);
    Dialog.PointerDown(66, 47);
    Dialog.PointerUp(80, 60); // released off the label: no click
    panel.SetVisible(false);
    Dialog.PointerMove(66, 47);

    EXPECT_EQ(Log,
        (std::vector<std::string> {
            "shape 5,6", "form 55,5", "inPanel 1,2", "inPanel click", "form 66,47"}));
}

TEST_F(TNativeDialogTest, ControlsKeepTheirExactPlacesWhateverTheirTexts)
{
    TNativeLabel longText(Dialog);
    longText.SetBounds(5, 6, 40, 14);
    longText.SetCaption("a text far too long for forty pixels");
    TNativeLabel shortText(Dialog);
    shortText.SetBounds(5, 30, 40, 20);
    shortText.SetCaption("ok");
    TNativeButton button(Dialog);
    button.SetBounds(50, 50, 40, 20);
    button.SetCaption("Button with a long caption");

    Dialog.Show();
    ASSERT_TRUE(ProcessMessagesUntil([&] { return RectWidth(button.PlacedRect()) > 0; }));

    EXPECT_EQ(longText.PlacedRect(), (TRect {5, 6, 45, 20}));
    EXPECT_EQ(button.PlacedRect(), (TRect {50, 50, 90, 70}));
    EXPECT_TRUE(longText.TextClipped());
    EXPECT_FALSE(shortText.TextClipped());
    EXPECT_EQ(Dialog.ClientWidth(), 100);
}

TEST_F(TNativeDialogTest, PicturesNeedAReadableFileOrPixelsForTheirWholeSize)
{
    TNativePicture picture(Dialog);
    const std::vector<uint32_t> pixels(6, 0xFF102030);

    EXPECT_FALSE(picture.LoadFromFile("/nonexistent/logo.png"));
    EXPECT_FALSE(picture.SetPicture(2, 4, pixels));
    EXPECT_FALSE(picture.HasPicture());
    EXPECT_TRUE(picture.SetPicture(2, 3, pixels));
    EXPECT_TRUE(picture.HasPicture());
}

// The window's pixels as the X server shows them, one colour a pixel.
std::vector<uint32_t> OnScreen(GtkWidget* window, int32_t width, int32_t height)
{
    std::vector<uint32_t> pixels;
    TGObjectPtr<GdkPixbuf> shot(
        gdk_pixbuf_get_from_window(gtk_widget_get_window(window), 0, 0, width, height));
    if (!shot)
        return pixels;
    const guchar* p = gdk_pixbuf_get_pixels(shot.get());
    const int stride = gdk_pixbuf_get_rowstride(shot.get());
    const int channels = gdk_pixbuf_get_n_channels(shot.get());
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const guchar* q = p + y * stride + x * channels;
            pixels.push_back(MakeColour(q[0], q[1], q[2]));
        }
    return pixels;
}

TEST_F(TNativeDialogTest, AtTwiceTheZoomEachPixelIsABlockAndThePointerFindsItsControl)
{
    TNativeShape shape(Dialog);
    shape.Name = "shape";
    shape.SetBounds(10, 10, 40, 30);
    shape.SetBrushColour(MakeColour(255, 0, 0));
    Record(shape);
    TNativeLabel text(Dialog);
    text.SetBounds(5, 50, 90, 20);
    text.SetCaption("Zoomed");
    GtkWidget* window = Dialog.Window().Window;
    // In the screen's far corner, where no other test's window lies over it.
    gtk_window_move(GTK_WINDOW(window), 1280 - 200, 1024 - 160);
    Dialog.Show();
    ASSERT_TRUE(ProcessMessagesUntil([&] { return RectWidth(text.PlacedRect()) > 0; }));
    ProcessMessagesUntil([] { return false; }); // painted
    const std::vector<uint32_t> designed = OnScreen(window, 100, 80);
    ASSERT_EQ(designed.size(), 100u * 80u);

    Dialog.SetZoom(2);
    ASSERT_TRUE(
        ProcessMessagesUntil([&] { return gtk_widget_get_allocated_width(window) == 200; }));
    ProcessMessagesUntil([] { return false; }); // the offscreen copy paints
    const std::vector<uint32_t> zoomed = OnScreen(window, 200, 160);
    ASSERT_EQ(zoomed.size(), 200u * 160u);
    size_t wrong = 0;
    for (int32_t y = 0; y < 160; ++y)
        for (int32_t x = 0; x < 200; ++x)
            wrong += zoomed[size_t(y) * 200 + x] != designed[size_t(y / 2) * 100 + x / 2];
    EXPECT_EQ(wrong, 0u);

    gint originX = 0;
    gint originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(window), &originX, &originY);
    GdkEvent* motion = gdk_event_new(GDK_MOTION_NOTIFY);
    motion->motion.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
    motion->motion.x_root = originX + 2 * 15 + 1;
    motion->motion.y_root = originY + 2 * 16 + 1;
    gtk_widget_event(window, motion);
    gdk_event_free(motion);
    EXPECT_EQ(Log, (std::vector<std::string> {"shape 5,6"}));
}

// Run by seatless.sh on a display without a keyboard, which fails on a toolkit complaint.
TEST_F(TNativeDialogTest, KeysAreDroppedOnADisplayWithoutAKeyboard)
{
    if (SeatKeyboard(gdk_display_get_default()) != nullptr)
        GTEST_SKIP() << "the display has a keyboard";
    TNativeButton first(Dialog);
    TNativeButton second(Dialog);
    second.SetBounds(0, 30, 50, 20);
    Dialog.Show();
    first.SetFocus();
    Dialog.DeliverKey(VK_TAB);
    EXPECT_TRUE(first.Focused());
}

} // namespace
