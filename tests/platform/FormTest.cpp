#include "platform/Form.h"
#include "platform/Application.h"
#include "platform/PaintBox.h"
#include "platform/Timer.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr TColour Red = MakeColour(255, 0, 0);
constexpr TColour Blue = MakeColour(0, 0, 255);

struct TFormTest : ::testing::Test {
    TFormTest() { Form.SetClientSize(40, 30); }
    TForm Form;
};

TEST_F(TFormTest, ControlsPaintInZOrderClippedToTheRepaintArea)
{
    TPaintBox below(Form);
    below.SetBounds(0, 0, 20, 20);
    TPaintBox above(Form);
    above.SetBounds(10, 10, 20, 20);
    std::vector<TRect> clips;
    below.OnPaint = [&](TCanvas& canvas) {
        clips.push_back(canvas.ClipRect());
        canvas.Brush.Colour = Red;
        canvas.FillRect({0, 0, 100, 100}); // the control's edge clips it
    };
    above.OnPaint = [&](TCanvas& canvas) {
        clips.push_back(canvas.ClipRect());
        canvas.Brush.Colour = Blue;
        canvas.FillRect(canvas.ClipRect());
    };
    Form.Update();
    EXPECT_EQ(Form.BackingStore().Pixel(5, 5), Red);
    EXPECT_EQ(Form.BackingStore().Pixel(15, 15), Blue);
    EXPECT_EQ(Form.BackingStore().Pixel(25, 5), Form.Color);

    clips.clear();
    Form.InvalidateRect({12, 12, 14, 14});
    Form.Update();
    EXPECT_EQ(clips, (std::vector<TRect> {{12, 12, 14, 14}, {2, 2, 4, 4}}));
}

TEST_F(TFormTest, MouseGoesToTheTopEnabledControlTheCaptureOrTheForm)
{
    TPaintBox box(Form);
    box.SetBounds(10, 10, 10, 10);
    TPaintBox disabled(Form);
    disabled.SetBounds(0, 0, 40, 30);
    disabled.SetEnabled(false);
    std::vector<TPoint> boxDowns;
    std::vector<TPoint> formDowns;
    box.OnMouseDown = [&](TMouseButton, TShiftState, int32_t x, int32_t y) {
        boxDowns.push_back({x, y});
    };
    Form.OnMouseDown = [&](TMouseButton, TShiftState, int32_t x, int32_t y) {
        formDowns.push_back({x, y});
    };

    Form.MouseDown(TMouseButton::Left, ssLeft, 12, 13);
    Form.MouseDown(TMouseButton::Left, ssLeft, 30, 5);
    EXPECT_EQ(boxDowns, (std::vector<TPoint> {{2, 3}}));
    EXPECT_EQ(formDowns, (std::vector<TPoint> {{30, 5}}));
    EXPECT_EQ(Form.MouseCapture(), nullptr); // paint boxes do not capture
}

TEST_F(TFormTest, ErrorsOfDueTimerTicksBecomeMessageBoxes)
{
    TMessageBoxRecorder boxes;
    Application().Title = "Pathwarden";
    TTimer timer;
    int ticks = 0;
    timer.SetInterval(1);
    timer.SetOnTimer([&] {
        ++ticks;
        throw std::runtime_error("Decode: invalid line code");
    });
    ASSERT_TRUE(ProcessMessagesUntil([&] { return ticks >= 2; }));
    timer.SetEnabled(false);
    ASSERT_GE(boxes.Requests.size(), 2u);
    EXPECT_EQ(boxes.Requests[0].Kind, TMessageBoxKind::Error);
    EXPECT_EQ(boxes.Requests[0].Caption, "Pathwarden");
    EXPECT_EQ(boxes.Requests[0].Text, "Decode: invalid line code");
}

} // namespace
