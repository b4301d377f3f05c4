#include "FormWardenFixture.h"
#include "platform/Screen.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr TCursor HandCursor = 1;

// The game played through the window's own handlers, read back from the window's backing store.
class FormWardenPlayTest : public TFormWardenFixture {
protected:
    FormWardenPlayTest()
        : TFormWardenFixture("")
    {
        Form->Update(); // the first paint, which composes the decorations
    }
    ~FormWardenPlayTest() override { OverrideCapsLock(std::nullopt); }

    TVX8ImageData& PlaySurface() { return *Form->Images->PlayBoard; }
    void Click(const TRect& r)
    {
        Form->MouseDown(TMouseButton::Left, ssLeft, r.Left + 5, r.Top + 5);
        Form->MouseUp(TMouseButton::Left, 0, r.Left + 5, r.Top + 5);
    }
    void Scramble()
    {
        Click(Form->cmdStart.BoundsRect());
        while (Form->tmrWarden.Enabled())
            Ticks(1);
    }
    // The pointer at play board pixel (x, y).
    void BoardDown(int32_t x, int32_t y)
    {
        Form->MouseDown(
            TMouseButton::Left, ssLeft, Form->pbxBoard.Left() + x, Form->pbxBoard.Top() + y);
    }
    // Let go over the window's background, off the board.
    void BoardUp() { Form->MouseUp(TMouseButton::Left, 0, 10, 10); }
    TCursor CursorAt(int32_t x, int32_t y)
    {
        Form->MouseMove(0, Form->pbxBoard.Left() + x, Form->pbxBoard.Top() + y);
        return Form->pbxBoard.Cursor();
    }
    void Press(char key)
    {
        Form->KeyDown(static_cast<uint16_t>(std::toupper(key)), 0);
        Form->KeyPress(key);
    }
    void Release(char key) { Form->KeyUp(static_cast<uint16_t>(std::toupper(key)), 0); }
    void Move(char key)
    {
        Type(static_cast<uint16_t>(std::toupper(key)), 0, key);
        Ticks(4);
    }

    std::vector<TColour> OnScreen(const TControl& box)
    {
        std::vector<TColour> pixels;
        const TRect r = box.BoundsRect();
        for (int32_t y = r.Top; y < r.Bottom; ++y)
            for (int32_t x = r.Left; x < r.Right; ++x)
                pixels.push_back(Form->BackingStore().Pixel(x, y));
        return pixels;
    }
    std::vector<TColour> Colours(TVX8ImageData& surface)
    {
        std::vector<TColour> pixels;
        for (const uint8_t index : PixelsOf(surface))
            pixels.push_back(Form->Library->GetHPal()->ColourOf(index));
        return pixels;
    }
    bool PlayBoardShown() { return BoardOnScreen() == SurfaceColours(); }
    bool ArrowShows(TPoint p, TArrowImage image, int32_t frame)
    {
        return Shows(
            PlaySurface(), p, *Form->Images->Arrow(image), {0, 20 * frame, 20, 20 * frame + 20});
    }
    // The board as it was, with column 1 turned up n times.
    TRoadBoard ColumnOneUp(const TRoadBoard& before, int32_t n)
    {
        TPuzzleBoard board = Game().Board;
        board.Current = before;
        while (n-- > 0)
            board.ShiftColumnUp(1);
        return board.Current;
    }
};

TEST_F(FormWardenPlayTest, KeyWithinATickGivesOneRotationThreeSlideFramesAndTheFinalPicture)
{
    Scramble();
    const std::vector<TColour> before = BoardOnScreen();
    const TRoadBoard cells = Game().Board.Current;
    Type('A', 0, 'a');
    EXPECT_EQ(Game().Board.Current, ColumnOneUp(cells, 1));
    EXPECT_TRUE(BoardOnScreen() == before) << "nothing shows before the first tick";
    EXPECT_EQ(Form->tmrWarden.Interval(), MoveInterval);
    const std::vector<TColour> final = SurfaceColours();
    // Column 1 (x 57..87) is seen d pixels below its place, wrapping round; the rest stays.
    for (const int32_t d : {24, 16, 8}) {
        Ticks(1);
        std::vector<TColour> frame = final;
        for (int32_t y = 57; y < 153; ++y)
            for (int32_t x = 57; x < 88; ++x)
                frame[y * 208 + x] = final[(57 + (y - 57 - d + 96) % 96) * 208 + x];
        EXPECT_TRUE(BoardOnScreen() == frame) << "offset " << d;
        EXPECT_TRUE(Form->tmrWarden.Enabled());
    }
    Ticks(1);
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    EXPECT_TRUE(ArrowShows({63, 32}, TArrowImage::UpReleased, 0));
    EXPECT_TRUE(PlayBoardShown());
}

TEST_F(FormWardenPlayTest, HeldArrowRotatesAgainEveryFifthTickUntilReleased)
{
    Scramble();
    const TRoadBoard cells = Game().Board.Current;
    BoardDown(70, 40);
    for (int32_t tick = 1; tick <= 14; ++tick) {
        if (tick == 12)
            BoardUp(); // off the board; acted on at the cycle's next fourth tick
        Ticks(1);
        EXPECT_EQ(Game().Board.Current, ColumnOneUp(cells, 1 + std::min(tick, 10) / 5)) << tick;
        EXPECT_EQ(Form->tmrWarden.Enabled(), tick < 14) << tick;
        if (tick % 5 == 4) {
            EXPECT_TRUE(PlayBoardShown()) << tick;
            EXPECT_EQ(ArrowShows({63, 32}, TArrowImage::UpPressed, 0), tick < 14) << tick;
        }
    }
}

TEST_F(FormWardenPlayTest, OtherArrowsAreRefusedDuringAMoveAndAnyKeyLetGoReleasesIt)
{
    Scramble();
    const TRoadBoard cells = Game().Board.Current;
    Press('a');
    Ticks(1);
    Press('b');
    Press('4');
    Release('b'); // any key let go releases the active arrow
    EXPECT_EQ(Game().Board.Current, ColumnOneUp(cells, 1));
    Ticks(3);
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    Type('A', 0, 'a');
    Ticks(1);
    for (const TPoint p : {TPoint {40, 70}, TPoint {100, 165}, TPoint {165, 135}}) {
        BoardDown(p.X, p.Y);
        BoardUp();
    }
    Ticks(3);
    EXPECT_FALSE(Form->tmrWarden.Enabled()) << "the cycle was never restarted";
    EXPECT_EQ(Game().Board.Current, ColumnOneUp(cells, 2));
    EXPECT_TRUE(PlayBoardShown());
}

TEST_F(FormWardenPlayTest, ArrowsAreHitOnlyInsideTheirSquaresNeverInTheGaps)
{
    Scramble();
    const struct {
        int32_t X, Y;
        bool Hit;
    } points[] = {{70, 40, true}, {82, 51, true}, {83, 40, false}, {94, 40, false}, {95, 40, true},
        {70, 52, false}, {70, 31, false}, {40, 90, false}, {165, 90, false}, {90, 165, false},
        {170, 170, false}, {165, 70, true}, {100, 165, true}, {40, 135, true}};
    for (const auto& p : points) {
        EXPECT_EQ(CursorAt(p.X, p.Y), p.Hit ? HandCursor : crDefault) << p.X << "," << p.Y;
        BoardDown(p.X, p.Y);
        BoardUp();
        EXPECT_EQ(Form->tmrWarden.Enabled(), p.Hit) << p.X << "," << p.Y;
        Ticks(p.Hit ? 4 : 0);
    }
}

TEST_F(FormWardenPlayTest, DuringTheScrambleArrowsKeysAndTheHandCursorDoNothing)
{
    Click(Form->cmdStart.BoundsRect());
    Ticks(1);
    const TRoadBoard scrambling = Game().Board.Current;
    Type('A', 0, 'a');
    BoardDown(70, 40);
    BoardUp();
    EXPECT_EQ(CursorAt(70, 40), crDefault);
    EXPECT_EQ(Game().Board.Current, scrambling);
    EXPECT_EQ(Form->tmrWarden.Interval(), ScrambleInterval);
    EXPECT_TRUE(ArrowShows({63, 32}, TArrowImage::UpReleased, 0));
    EXPECT_TRUE(PlayBoardShown());
    while (Form->tmrWarden.Enabled())
        Ticks(1);
    EXPECT_EQ(CursorAt(70, 40), HandCursor);
}

TEST_F(FormWardenPlayTest, SizeButtonsStepWithinThreeToFiveAndReLayTheBoard)
{
    const struct {
        TKelButton& Button;
        int32_t Cols, Rows;
    } steps[] = {{Form->cmdColM, 3, 3}, {Form->cmdRowM, 3, 3}, {Form->cmdColP, 4, 3},
        {Form->cmdColP, 5, 3}, {Form->cmdColP, 5, 3}, {Form->cmdRowP, 5, 4}, {Form->cmdRowP, 5, 5},
        {Form->cmdRowP, 5, 5}, {Form->cmdColM, 4, 5}, {Form->cmdRowM, 4, 4}};
    for (const auto& step : steps) {
        Click(step.Button.BoundsRect());
        const std::string at
            = step.Button.Name + " to " + std::to_string(step.Cols * 10 + step.Rows);
        ASSERT_EQ(Game().Board.Cols(), step.Cols) << at;
        ASSERT_EQ(Game().Board.Rows(), step.Rows) << at;
        EXPECT_EQ(Form->cmdColM.Enabled(), step.Cols > 3) << at;
        EXPECT_EQ(Form->cmdColP.Enabled(), step.Cols < 5) << at;
        EXPECT_EQ(Form->cmdRowM.Enabled(), step.Rows > 3) << at;
        EXPECT_EQ(Form->cmdRowP.Enabled(), step.Rows < 5) << at;
        // The border's corner just outside the grid, and the right edge line's last pixel.
        const int32_t left = 25 + 16 * (5 - step.Cols), top = 25 + 16 * (5 - step.Rows);
        EXPECT_EQ(PixelOf(PlaySurface(), left - 1, top - 1), GridLineIndex) << at;
        EXPECT_EQ(
            PixelOf(PlaySurface(), left + 32 * step.Cols, top + 32 * step.Rows - 1), EdgeLineIndex)
            << at;
        EXPECT_TRUE(PlayBoardShown()) << at;
    }
}

TEST_F(FormWardenPlayTest, WholeGameEndsWonAndTheSizeCaptionThenKeepsWelldone)
{
    Scramble();
    EXPECT_TRUE(Form->cmdExit.Enabled() && !Form->cmdStart.Enabled() && !Form->cmdColP.Enabled());
    const TRoadBoard scrambled = Game().Board.Current;
    Click(Form->ColRowCaption.Rect); // no new picture during a game
    EXPECT_EQ(Game().Board.Current, scrambled);
    const std::string keys = SolvingKeys(Game().Board);
    ASSERT_FALSE(keys.empty());
    for (const char key : keys) {
        ASSERT_TRUE(Game().Playing());
        Move(key);
    }
    EXPECT_TRUE(Game().Won() && !Form->tmrWarden.Enabled());
    for (TKelButton* b : {&Form->cmdStart, &Form->cmdColP, &Form->cmdRowP})
        EXPECT_TRUE(b->Enabled()) << b->Name;
    for (TKelButton* b : {&Form->cmdExit, &Form->cmdColM, &Form->cmdRowM})
        EXPECT_FALSE(b->Enabled()) << b->Name;
    TVX8ImageData& preview = *Form->Images->PreviewBoard;
    const TImageHold welldone = TImageHold::Open(*Form->Library, "welldone");
    EXPECT_TRUE(Shows(preview, {1, 1}, *welldone.Surface(), welldone.Surface()->Bounds()));
    EXPECT_TRUE(OnScreen(Form->pbxBackBoard) == Colours(preview));
    EXPECT_EQ(PixelOf(PlaySurface(), 57, 153), EdgeLineIndex); // the raised picture's edge
    EXPECT_FALSE(ArrowShows({63, 32}, TArrowImage::UpReleased, 0));
    EXPECT_TRUE(PlayBoardShown());
    const std::vector<TColour> won = BoardOnScreen();

    const std::vector<TColour> message = OnScreen(Form->pbxBackBoard);
    Click(Form->ColRowCaption.Rect);
    EXPECT_TRUE(BoardOnScreen() != won && PlayBoardShown());
    EXPECT_TRUE(OnScreen(Form->pbxBackBoard) == message);
    EXPECT_TRUE(Game().Won() && Form->cmdStart.Enabled());
}

TEST_F(FormWardenPlayTest, MoveThatSolvesWhileItsKeyIsHeldDoesNotEndTheGame)
{
    Scramble();
    const std::string keys = SolvingKeys(Game().Board);
    ASSERT_FALSE(keys.empty());
    for (size_t i = 0; i + 1 < keys.size(); ++i)
        Move(keys[i]);
    const std::vector<TColour> target = OnScreen(Form->pbxBackBoard);
    Press(keys.back());
    Ticks(4);
    EXPECT_TRUE(Game().Board.IsSolved() && Game().Playing() && Form->tmrWarden.Enabled());
    Ticks(1); // still held: the line turns on past the solution
    EXPECT_FALSE(Game().Board.IsSolved());
    Release(keys.back());
    Ticks(4);
    EXPECT_TRUE(!Form->tmrWarden.Enabled() && Game().Playing() && !Game().Won());
    EXPECT_TRUE(Form->cmdExit.Enabled() && !Form->cmdStart.Enabled());
    EXPECT_TRUE(OnScreen(Form->pbxBackBoard) == target);
}

TEST_F(FormWardenPlayTest, KeysAndButtonsHeldWhenTheWindowLosesTheInputCountAsLetGo)
{
    Scramble();
    const TRoadBoard cells = Game().Board.Current;
    Press('a'); // let go in another window
    Form->InputLost();
    Ticks(20);
    EXPECT_EQ(Game().Board.Current, ColumnOneUp(cells, 1));
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    BoardDown(70, 40);
    Form->InputLost();
    Ticks(20);
    EXPECT_EQ(Game().Board.Current, ColumnOneUp(cells, 2));
    EXPECT_FALSE(Form->tmrWarden.Enabled());
    const TRect exit = Form->cmdExit.BoundsRect();
    Form->MouseDown(TMouseButton::Left, ssLeft, exit.Left + 5, exit.Top + 5);
    Form->InputLost();
    Form->MouseUp(TMouseButton::Left, 0, exit.Left + 5, exit.Top + 5); // the late release
    EXPECT_TRUE(Game().Playing()) << "Exit was clicked";
}

TEST_F(FormWardenPlayTest, CapsLockShowsTheVersionLabelFromTheNextKeyDown)
{
    OverrideCapsLock(false);
    Form->KeyDown(VK_CAPITAL, 0);
    Form->Update();
    const std::vector<TColour> hidden = OnScreen(Form->lblVersion);
    for (const bool on : {true, false, true}) {
        OverrideCapsLock(on);
        EXPECT_EQ(Form->lblVersion.Visible(), !on) << "unchanged before a key";
        Form->KeyDown(on ? VK_CAPITAL : 'B', 0);
        Form->Update();
        EXPECT_EQ(Form->lblVersion.Visible(), on);
        EXPECT_EQ(OnScreen(Form->lblVersion) != hidden, on);
    }
}

} // namespace
