#include "ControlsTestLibrary.h"
#include "controls/KelButton.h"
#include "controls/VX8Tile.h"
#include "platform/Form.h"
#include "platform/GtkGlue.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

using Lib = TControlsTestLibrary;
constexpr TColour Marker = MakeColour(1, 2, 3);

struct TTileBGTest : ::testing::Test {
    TTileBGTest()
    {
        Form.SetClientSize(70, 50);
        Background.ApplyImageName("tile");
        TTileBG::SetGlobalImageLibrary(Library.get());
    }
    ~TTileBGTest() override { TTileBG::SetGlobalImageLibrary(nullptr); }

    int CountMismatches(const TRect& r)
    {
        int wrong = 0;
        for (int32_t y = r.Top; y < r.Bottom; ++y)
            for (int32_t x = r.Left; x < r.Right; ++x)
                wrong += Form.BackingStore().Pixel(x, y) != Lib::TileColour(x, y);
        return wrong;
    }

    TControlsTestLibrary Files;
    std::unique_ptr<TVX8Library> Library = Files.Open();
    TForm Form;
    TTileBG Background {Form};
};

TEST_F(TTileBGTest, TilesAreAnchoredAtTheClientOriginAndCutByTheClip)
{
    Form.Update();
    EXPECT_EQ(Background.BoundsRect(), (TRect {0, 0, 70, 50}));
    EXPECT_EQ(CountMismatches(Form.ClientRect()), 0);
}

TEST_F(TTileBGTest, ARepaintDrawsOnlyTheRepaintAreaThenCallsTheAfterPaintHook)
{
    Form.Update();
    Form.Update(); // the repaint that loading the tile asked for
    Form.BackingStore() = TPixelBuffer(70, 50, Marker);
    TRect hookClip;
    Background.OnAfterPaint = [&](TCanvas& canvas, const TRect& clip) {
        hookClip = clip;
        canvas.Brush.Colour = 0;
        canvas.FillRect({0, 0, 70, 50});
    };
    Form.InvalidateRect({40, 40, 50, 50});
    Form.Update();
    EXPECT_EQ(hookClip, (TRect {40, 40, 50, 50}));
    EXPECT_EQ(Form.BackingStore().Pixel(39, 40), Marker);
    EXPECT_EQ(Form.BackingStore().Pixel(40, 39), Marker);
    EXPECT_EQ(Form.BackingStore().Pixel(45, 45), 0u);
}

TEST_F(TTileBGTest, PaintTilesToContinuesTheWindowsGridFromAPosition)
{
    TVX8ImageData* surface = Library->GetImageData(Library->CreateImage("_BOARD_", 208, 208));
    Background.PaintTilesTo(*surface, {37, 104});
    const TDisplayPalette* palette = Library->GetHPal();
    const auto at
        = [&](int32_t x, int32_t y) { return palette->ColourOf(*surface->StartLine(x, y)); };
    // The first tile starts at (-5, -8); the window's grid lines fall at (27, 24).
    EXPECT_EQ(at(0, 0), Lib::TileColour(5, 8));
    EXPECT_EQ(at(27, 24), Lib::TileColour(0, 0));
    EXPECT_EQ(at(5, 8), Lib::TileColour(10, 16));
    EXPECT_EQ(at(207, 207), Lib::TileColour(207 + 37, 207 + 104));
}

TEST_F(TTileBGTest, AMissingTileShowsTheHatchAndPaintsNoSurface)
{
    Background.ApplyImageName("tilesmore"); // cut to "tilesmor", not in the library
    EXPECT_EQ(Background.ImageName(), "tilesmor");
    Form.Update();
    EXPECT_EQ(Form.BackingStore().Pixel(8, 0), 0u);
    EXPECT_EQ(Form.BackingStore().Pixel(9, 1), 0u);
    EXPECT_EQ(Form.BackingStore().Pixel(1, 0), Form.Color);

    TVX8ImageData* surface = Library->GetImageData(Library->CreateImage("_BOARD_", 8, 8));
    surface->FillRect(surface->Bounds(), 77);
    Background.PaintTilesTo(*surface, {0, 0});
    EXPECT_EQ(*surface->StartLine(3, 3), 77);
}

TEST_F(TTileBGTest, ADestroyedLibraryLeavesTheHatchAndANewLibraryLoadsAfresh)
{
    Form.Update();
    ASSERT_NE(Background.TileNode(), nullptr);
    Library.reset();
    EXPECT_EQ(Background.Library(), nullptr);
    EXPECT_EQ(TTileBG::GlobalImageLibrary(), nullptr);
    Form.Invalidate();
    Form.Update();
    EXPECT_EQ(Form.BackingStore().Pixel(0, 0), 0u);
    EXPECT_EQ(Form.BackingStore().Pixel(1, 0), Lib::TileColour(1, 0)); // between the hatch lines

    // The old node went with the old library; the new one hands out its own.
    Library = Files.Open();
    Background.SetImageLibrary(Library.get());
    ASSERT_NE(Background.TileNode(), nullptr);
    EXPECT_EQ(Background.TileNode()->OpenCount, 1);
    Form.Update();
    EXPECT_EQ(CountMismatches(Form.ClientRect()), 0);
}

TEST_F(TTileBGTest, TheScreenShowsTheTilesAndAButtonInARealWindow)
{
    TKelButton button(Form);
    button.SetBounds(40, 30, 0, 0);
    button.ApplyImageName("start");
    TKelButton::SetGlobalImageLibrary(Library.get());
    button.ApplyEnabled(true);
    Form.Show();
    const auto screenShowsTheStore = [this] {
        GdkWindow* window = gtk_widget_get_window(Form.Window().Area);
        TGObjectPtr<GdkPixbuf> shot(
            window != nullptr ? gdk_pixbuf_get_from_window(window, 0, 0, 70, 50) : nullptr);
        if (!shot)
            return false;
        const guchar* p = gdk_pixbuf_get_pixels(shot.get());
        for (int32_t y = 0; y < 50; ++y)
            for (int32_t x = 0; x < 70; ++x) {
                const guchar* q = p + y * gdk_pixbuf_get_rowstride(shot.get())
                    + x * gdk_pixbuf_get_n_channels(shot.get());
                if (MakeColour(q[0], q[1], q[2]) != Form.BackingStore().Pixel(x, y))
                    return false;
            }
        return true;
    };
    EXPECT_TRUE(ProcessMessagesUntil(screenShowsTheStore));
    EXPECT_EQ(Form.BackingStore().Pixel(45, 35), Lib::Colour(10)); // the button's up face
    EXPECT_EQ(CountMismatches({0, 0, 40, 50}), 0);
    TKelButton::SetGlobalImageLibrary(nullptr);
}

TEST_F(TTileBGTest, ClicksOverTheBackgroundReachTheForm)
{
    int formDowns = 0;
    Form.OnMouseDown = [&](TMouseButton, TShiftState, int32_t, int32_t) { ++formDowns; };
    Form.MouseDown(TMouseButton::Left, ssLeft, 10, 10);
    EXPECT_EQ(formDowns, 1);
}

} // namespace
