#include "play/GameTestSupport.h"

#include <map>

namespace {

class BoardPainterTest : public ::testing::Test {
protected:
    BoardPainterTest()
    {
        // A road from cell (1, 1) to cell (2, 2) and one from (1, 3) east to (2, 3).
        TRoadBoard& board = Game.Board.Current;
        board.Cell(1, 1).Arms = ArmSouthEast;
        board.Cell(2, 2).Arms = ArmNorthWest;
        board.Cell(1, 3).Arms = ArmEast;
        board.Cell(2, 3).Arms = ArmWest;
        Game.Board.Target = board;
    }

    TGamePictures Pictures;
    TScriptedRandom Random;
    TWardenGame Game {Random};
    TBoardPainter Painter {*Pictures.Images, Pictures.Tiles()};
    TVX8ImageData& Play = *Pictures.Images->PlayBoard;
};

TEST_F(BoardPainterTest, IdlePlayBoardHasBorderAndEdgeLinesAroundTheGrid)
{
    Painter.RenderBoard(TBoardKind::Play, ViewOf(Game), {37, 104});
    for (int32_t i = 0; i < 96; ++i) {
        EXPECT_EQ(PixelOf(Play, 56 + i, 56), GridLineIndex) << i;
        EXPECT_EQ(PixelOf(Play, 56, 56 + i), GridLineIndex) << i;
        EXPECT_EQ(PixelOf(Play, 57 + i, 153), EdgeLineIndex) << i;
        EXPECT_EQ(PixelOf(Play, 153, 57 + i), EdgeLineIndex) << i;
    }
}

TEST_F(BoardPainterTest, DiagonalGetsItsCornerPieceAt85InFlatAndRaisedModesOnly)
{
    // Stand-ins: roads all transparent, each layer's north-west piece one solid value.
    TImageHold roads = TImageHold::Create(Pictures.Library, "roads2", 96, 288);
    TImageHold corners = TImageHold::Create(Pictures.Library, "conndia2", 21, 14);
    roads.Surface()->Transparent = corners.Surface()->Transparent = true;
    for (int32_t layer = 0; layer < 3; ++layer)
        corners.Surface()->FillRect({7 * layer, 7, 7 * layer + 7, 14}, uint8_t(10 + layer));
    Pictures.Images->Roads = roads.Surface();
    Pictures.Images->ConnDiag = corners.Surface();
    Pictures.Images->Empty = nullptr;
    // Per mode, the pixels left of each layer's piece: layer 0 over the other two.
    const std::map<uint8_t, TRect> flat {{10, {85, 85, 92, 92}}};
    const std::map<uint8_t, TRect> raised {
        {10, {85, 85, 92, 92}}, {11, {92, 85, 93, 92}}, {12, {85, 92, 92, 93}}};
    for (const auto& [mode, expected] : std::map<TTileMode, std::map<uint8_t, TRect>> {
             {TTileMode::Grid, {}}, {TTileMode::Flat, flat}, {TTileMode::Raised, raised}}) {
        Play.FillRect(Play.Bounds(), 0);
        Painter.DrawTiles(Game.Board.Current, {3, 3}, &Play, 1, 1, 3, 3, mode);
        std::map<uint8_t, TRect> found;
        for (int32_t y = 0; y < 208; ++y)
            for (int32_t x = 0; x < 208; ++x)
                if (const uint8_t v = PixelOf(Play, x, y); v >= 10 && v <= 12) {
                    TRect& r = found.try_emplace(v, TRect {x, y, x, y}).first->second;
                    r = {std::min(r.Left, x), r.Top, std::max(r.Right, x + 1), y + 1};
                }
        EXPECT_EQ(found, expected) << "mode " << int(mode);
    }
}

TEST_F(BoardPainterTest, SingleArmDrawsEndCapUnderItsArmAndNoArmsOnlyEmpty)
{
    Painter.DrawTiles(Game.Board.Current, {3, 3}, &Play, 1, 1, 3, 3, TTileMode::Grid);
    TVX8ImageData& roads = *Pictures.Images->Roads;
    // The grid line takes each cell's last column and row.
    EXPECT_TRUE(Shows(Play, {57, 121}, roads, {0, 64, 31, 95}));
    int32_t capPixels = 0;
    for (int32_t y = 0; y < 31; ++y)
        for (int32_t x = 0; x < 31; ++x) {
            const uint8_t cap = PixelOf(roads, x, 256 + y);
            if (cap != roads.TransparentKey()
                && PixelOf(roads, x, 64 + y) == roads.TransparentKey())
                capPixels += PixelOf(Play, 57 + x, 121 + y) == cap ? 1 : -1000;
        }
    EXPECT_GT(capPixels, 0);
    EXPECT_TRUE(Shows(Play, {121, 89}, *Pictures.Images->Empty, {0, 0, 31, 31}));
    EXPECT_EQ(PixelOf(Play, 88, 70), GridLineIndex);
    EXPECT_EQ(PixelOf(Play, 70, 88), GridLineIndex);
}

TEST_F(BoardPainterTest, IdlePreviewShowsOnlyBackgroundAndMessagePicture)
{
    for (const char* message : {"clicksr", "welldone"}) {
        // The untouched board wins as soon as a game's first move ends.
        if (message[0] == 'w') {
            ASSERT_TRUE(Game.Start() && Game.MoveFinished());
        }
        Painter.RenderBoard(TBoardKind::Preview, ViewOf(Game), {273, 104});
        TImageHold expected = TImageHold::Create(Pictures.Library, "expected", 208, 208);
        TImageHold picture = TImageHold::Open(Pictures.Library, message);
        Pictures.Tiles()(*expected.Surface(), {273, 104});
        expected.Surface()->Draw({1, 1}, *picture.Surface(), picture.Surface()->Bounds());
        EXPECT_EQ(PixelsOf(*Pictures.Images->PreviewBoard), PixelsOf(*expected.Surface()))
            << message;
    }
}

TEST_F(BoardPainterTest, FiveByFiveArrowsLoseTheirLastRowAndColumnToTheClip)
{
    Game.Board.SetCols(5);
    Game.Board.SetRows(5);
    Random.FallBack(TestSeed());
    ASSERT_TRUE(Game.Start());
    while (Game.ScrambleStep()) { }
    ASSERT_TRUE(Game.PressArrow(true, 7));
    Painter.RenderBoard(TBoardKind::Play, ViewOf(Game), {37, 104});
    auto shows = [&](TPoint p, TArrowImage image, int32_t frame) {
        return Shows(Play, p, *Pictures.Images->Arrow(image), {0, 20 * frame, 20, 20 * frame + 20});
    };
    EXPECT_TRUE(shows({31, 0}, TArrowImage::UpReleased, 0));
    EXPECT_TRUE(shows({31, 189}, TArrowImage::DownReleased, 2)); // key F
    EXPECT_TRUE(shows({63, 189}, TArrowImage::DownPressed, 3));
    EXPECT_TRUE(shows({189, 159}, TArrowImage::RightReleased, 6)); // key 0
    EXPECT_TRUE(shows({0, 159}, TArrowImage::LeftReleased, 4));
}

} // namespace
