#include "platform/NativeDialog.h"
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

} // namespace
