#include "controls/KelButton.h"
#include "ControlsTestLibrary.h"
#include "controls/VX8Tile.h"
#include "platform/Form.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace {

using Lib = TControlsTestLibrary;
constexpr TColour Magenta = MakeColour(255, 0, 255);

struct TKelButtonTest : ::testing::Test {
    TKelButtonTest()
    {
        Form.SetClientSize(60, 40);
        Button.SetBounds(10, 5, 75, 25);
        Button.Name = "cmdStart";
        Button.ApplyImageName("start");
        Button.OnClick = [this](TKelButton& sender) { Clicks.push_back(&sender); };
        TKelButton::SetGlobalImageLibrary(Library.get());
    }
    ~TKelButtonTest() override { TKelButton::SetGlobalImageLibrary(nullptr); }

    // The face shown, told by the colour of a pixel in the button's middle; 0 for none.
    int ShownFace()
    {
        Form.Update();
        const TColour c = Form.BackingStore().Pixel(20, 10);
        for (int k = 0; k < 3; ++k)
            if (c == Lib::Colour(static_cast<uint8_t>(10 * (k + 1))))
                return k;
        return -1;
    }

    TControlsTestLibrary Files;
    std::unique_ptr<TVX8Library> Library = Files.Open();
    TForm Form;
    TKelButton Button {Form};
    std::vector<TKelButton*> Clicks;
};

// Their destructors release their images through a virtual call, which a subclass would miss.
TEST(LibraryControls, ThatReleaseImagesInTheirDestructorsHaveNoSubclasses)
{
    EXPECT_TRUE(std::is_final_v<TKelButton>);
    EXPECT_TRUE(std::is_final_v<TTileBG>);
}

TEST_F(TKelButtonTest, TheStripGivesTheSizeAndTheDisabledFaceShowsFirst)
{
    Button.ApplyBGPen(200);
    EXPECT_EQ(Button.BoundsRect(), (TRect {10, 5, 30, 15}));
    EXPECT_EQ(ShownFace(), 2);
    // The strip's transparent pixel shows the background pen.
    EXPECT_EQ(Form.BackingStore().Pixel(10, 5), Lib::Colour(200));
}

TEST_F(TKelButtonTest, APressGoesDownAndOnlyAReleaseInsideClicks)
{
    Button.ApplyEnabled(true);
    EXPECT_EQ(ShownFace(), 0);
    Form.MouseDown(TMouseButton::Left, ssLeft, 15, 8);
    EXPECT_EQ(ShownFace(), 1);
    Form.MouseMove(ssLeft, 45, 30); // captured: still reaches the button
    EXPECT_FALSE(Button.Hot());
    EXPECT_EQ(ShownFace(), 0);
    Form.MouseUp(TMouseButton::Left, 0, 45, 30);
    EXPECT_TRUE(Clicks.empty());

    Form.MouseDown(TMouseButton::Left, ssLeft, 15, 8);
    Form.MouseMove(ssLeft, 45, 30);
    Form.MouseMove(ssLeft, 16, 9);
    EXPECT_EQ(ShownFace(), 1);
    Form.MouseUp(TMouseButton::Left, 0, 16, 9);
    EXPECT_EQ(Clicks, std::vector<TKelButton*> {&Button});
    EXPECT_FALSE(Button.Pressed());
    EXPECT_EQ(Form.MouseCapture(), nullptr);
}

TEST_F(TKelButtonTest, AReleaseOnTheButtonClicksOnlyWhenThePressBeganOnIt)
{
    Button.ApplyEnabled(true);
    Form.MouseDown(TMouseButton::Left, ssLeft, 50, 30); // on the form, beside the button
    Form.MouseMove(ssLeft, 15, 8);
    Form.MouseUp(TMouseButton::Left, 0, 15, 8);
    Button.ApplyEnabled(false);
    Form.MouseDown(TMouseButton::Left, ssLeft, 15, 8); // ignored while disabled
    Button.ApplyEnabled(true);
    Form.MouseUp(TMouseButton::Left, 0, 15, 8);
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(TKelButtonTest, RightButtonsAndDisabledButtonsDoNothing)
{
    Button.ApplyEnabled(true);
    Form.MouseDown(TMouseButton::Right, ssRight, 15, 8);
    Form.MouseUp(TMouseButton::Right, 0, 15, 8);
    EXPECT_FALSE(Button.Pressed());

    Form.MouseDown(TMouseButton::Left, ssLeft, 15, 8);
    Button.ApplyEnabled(false);
    EXPECT_EQ(ShownFace(), 2);
    Form.MouseUp(TMouseButton::Left, 0, 15, 8);
    EXPECT_TRUE(Button.Pressed()); // the release was ignored
    Button.ApplyEnabled(true);
    EXPECT_EQ(ShownFace(), 1);
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(TKelButtonTest, AToggleFlipsAndClicksOnEachPress)
{
    Button.ApplyEnabled(true);
    Button.Toggles = true;
    Form.MouseDown(TMouseButton::Left, ssLeft, 15, 8);
    Form.MouseUp(TMouseButton::Left, 0, 15, 8);
    EXPECT_TRUE(Button.Checked());
    EXPECT_EQ(ShownFace(), 1);
    Form.MouseDown(TMouseButton::Left, ssLeft, 15, 8);
    EXPECT_FALSE(Button.Checked());
    EXPECT_EQ(Clicks.size(), 2u);
}

TEST_F(TKelButtonTest, PlaceholderWithoutImageStripTooLowOrLibraryGone)
{
    TKelButton other(Form);
    other.SetBounds(0, 0, 60, 40);
    other.Name = "cmdNone";
    other.ApplyImageName("flat"); // 2 rows cannot hold 3 faces
    other.SetImageLibrary(Library.get());
    EXPECT_EQ(other.StripNode(), nullptr);
    Form.Update();
    EXPECT_EQ(Form.BackingStore().Pixel(59, 39), Magenta);

    Form.Invalidate();
    Library.reset();
    EXPECT_EQ(Button.Library(), nullptr);
    Button.ApplyEnabled(true); // recomposes without touching the freed images
    Form.Update();
    EXPECT_EQ(Form.BackingStore().Pixel(12, 12), Magenta);
}

TEST_F(TKelButtonTest, TwoButtonsShareTheStripAndOwnAFaceEach)
{
    TKelButton second(Form);
    second.ApplyImageName("start");
    second.SetImageLibrary(Library.get());
    Button.EnsureLibrary();
    EXPECT_EQ(Button.StripNode(), second.StripNode());
    EXPECT_EQ(Button.StripNode()->OpenCount, 2);
    EXPECT_NE(Button.FaceNode(), second.FaceNode());
}

} // namespace
