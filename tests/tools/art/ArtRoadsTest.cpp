#include "ArtTestLibrary.h"

#include "art/ArtColours.h"
#include "art/ArtMockup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint8_t North = 0x01, NorthEast = 0x02, East = 0x04, SouthEast = 0x08, South = 0x10,
                  SouthWest = 0x20, West = 0x40, NorthWest = 0x80;
constexpr int32_t Origin = 57; // of a 3 x 3 board
constexpr int32_t Middle = Origin + 32 + 15;

// A piece of "roads": layer across, arm (or 8 for the end cap) down.
uint8_t Piece(const TIndexedPicture& roads, int32_t layer, int32_t row, int32_t x, int32_t y)
{
    return roads.At(32 * layer + x, 32 * row + y);
}

bool Drawn(uint8_t index)
{
    return index != TransparentKeySlot;
}

TMockBoard Board3x3(std::initializer_list<std::tuple<int32_t, int32_t, uint8_t>> cells)
{
    TMockBoard board;
    for (const auto& [col, row, arms] : cells)
        board.At(col, row) = arms;
    return board;
}

// One mock-up on the shared library for the whole test program: it writes the library to a file.
TMockup& Mockup()
{
    static TMockup mockup(SharedLibrary());
    return mockup;
}

// Pixels where the board with roads differs from the same board without them.
std::vector<bool> RoadMask(const TMockBoard& board, int32_t mode)
{
    const TIndexedPicture with = Mockup().Board(board, mode);
    const TIndexedPicture without = Mockup().Board(TMockBoard {}, mode);
    std::vector<bool> mask(with.Pixels.size());
    for (std::size_t i = 0; i < mask.size(); ++i)
        mask[i] = with.Pixels[i] != without.Pixels[i];
    return mask;
}

// Along a road running from cell centre to cell centre through the middle cell, the cross
// section must not change: a seam or a gap at a cell edge or a grid corner would show as a
// change. (dx, dy) is the road's direction; the walk keeps clear of the end caps.
void ExpectUnbrokenRoad(
    const TMockBoard& board, int32_t mode, int32_t dx, int32_t dy, const std::string& what)
{
    const std::vector<bool> mask = RoadMask(board, mode);
    auto at = [&](int32_t x, int32_t y) { return mask[static_cast<std::size_t>(y * 208 + x)]; };
    // Side steps that visit every line of pixels parallel to the road.
    const int32_t nx = dy == 0 ? 0 : 1;
    const int32_t ny = dy == 0 ? 1 : 0;
    for (int32_t offset = -10; offset <= 10; ++offset) {
        const int32_t sx = Middle + offset * nx - 20 * dx;
        const int32_t sy = Middle + offset * ny - 20 * dy;
        for (int32_t step = 1; step <= 40; ++step) {
            ASSERT_EQ(at(sx, sy), at(sx + step * dx, sy + step * dy))
                << what << " mode " << mode << ", offset " << offset << ", step " << step;
        }
    }
}

} // namespace

TEST(ArtRoads, StraightArmsMeetTheNeighbourArmAcrossTheCellEdge)
{
    const TIndexedPicture& roads = SharedLibrary().Picture("roads");

    for (int32_t layer = 0; layer < 3; ++layer) {
        for (int32_t i = 0; i < 32; ++i) {
            EXPECT_EQ(Piece(roads, layer, 2, 31, i), Piece(roads, layer, 6, 0, i))
                << "east/west, layer " << layer << ", row " << i;
            EXPECT_EQ(Piece(roads, layer, 4, i, 31), Piece(roads, layer, 0, i, 0))
                << "south/north, layer " << layer << ", column " << i;
        }
    }
}

TEST(ArtRoads, EveryArmReachesItsEdgeOrCornerOfTheCell)
{
    const TIndexedPicture& roads = SharedLibrary().Picture("roads");
    const int32_t edgeX[] = {15, 31, 31, 31, 15, 0, 0, 0};
    const int32_t edgeY[] = {0, 0, 15, 31, 31, 31, 15, 0};

    for (int32_t arm = 0; arm < 8; ++arm) {
        EXPECT_TRUE(Drawn(Piece(roads, 0, arm, edgeX[arm], edgeY[arm]))) << "arm " << arm;
        EXPECT_TRUE(Drawn(Piece(roads, 0, arm, 15, 15))) << "arm " << arm << " at the centre";
    }
}

TEST(ArtRoads, OverlappingArmsAgreeSoTheDrawingOrderLeavesNoSeams)
{
    const TIndexedPicture& roads = SharedLibrary().Picture("roads");

    for (int32_t layer = 0; layer < 3; ++layer) {
        for (int32_t a = 0; a < 8; ++a) {
            for (int32_t b = a + 1; b < 8; ++b) {
                for (int32_t y = 0; y < 32; ++y) {
                    for (int32_t x = 0; x < 32; ++x) {
                        const uint8_t pa = Piece(roads, layer, a, x, y);
                        const uint8_t pb = Piece(roads, layer, b, x, y);
                        if (Drawn(pa) && Drawn(pb)) {
                            ASSERT_EQ(pa, pb) << "arms " << a << " and " << b << ", layer " << layer
                                              << " at " << x << ", " << y;
                        }
                    }
                }
            }
        }
    }
}

TEST(ArtRoads, CornerPiecesAgreeWithTheArmsAndTheCrossingPieceUnderThem)
{
    const TArtLibrary& library = SharedLibrary();
    const TIndexedPicture& roads = library.Picture("roads");
    const TIndexedPicture& corners = library.Picture("conndiag");

    // Both pieces centre on the same grid corner: pixel (31, 31) of the upper-left cell of a
    // 2 x 2 block whose cells' origins are (0, 0), (32, 0), (0, 32) and (32, 32).
    for (int32_t layer = 0; layer < 3; ++layer) {
        for (int32_t v = 0; v < 7; ++v) {
            for (int32_t u = 0; u < 7; ++u) {
                const int32_t bx = 28 + u;
                const int32_t by = 28 + v;
                const uint8_t rising = corners.At(7 * layer + u, v);
                const uint8_t falling = corners.At(7 * layer + u, 7 + v);
                if (Drawn(rising) && Drawn(falling)) {
                    ASSERT_EQ(rising, falling) << "layer " << layer << " at " << u << ", " << v;
                }
                for (int32_t arm = 0; arm < 8; ++arm) {
                    const uint8_t under = Piece(roads, layer, arm, bx % 32, by % 32);
                    for (uint8_t piece : {rising, falling}) {
                        if (Drawn(piece) && Drawn(under)) {
                            ASSERT_EQ(piece, under)
                                << "arm " << arm << ", layer " << layer << " at " << u << ", " << v;
                        }
                    }
                }
            }
        }
    }
}

TEST(ArtRoads, CornerPiecesHaveSomethingToCoverInEveryLayer)
{
    const TIndexedPicture& corners = SharedLibrary().Picture("conndiag");

    for (int32_t layer = 0; layer < 3; ++layer) {
        for (int32_t kind = 0; kind < 2; ++kind) {
            int32_t drawn = 0;
            for (int32_t v = 0; v < 7; ++v) {
                for (int32_t u = 0; u < 7; ++u)
                    drawn += Drawn(corners.At(7 * layer + u, 7 * kind + v)) ? 1 : 0;
            }
            EXPECT_GE(drawn, 6) << "layer " << layer << ", kind " << kind;
        }
    }
}

TEST(ArtRoads, StraightRoadsRunUnbrokenAcrossCellsInFlatAndRaisedBoards)
{
    const TMockBoard across = Board3x3({{0, 1, East}, {1, 1, East | West}, {2, 1, West}});
    const TMockBoard down = Board3x3({{1, 0, South}, {1, 1, North | South}, {1, 2, North}});

    for (int32_t mode : {1, 2}) {
        ExpectUnbrokenRoad(across, mode, 1, 0, "east-west road");
        ExpectUnbrokenRoad(down, mode, 0, 1, "north-south road");
    }
}

TEST(ArtRoads, DiagonalRoadsRunUnbrokenOverGridCornersInFlatAndRaisedBoards)
{
    const TMockBoard rising
        = Board3x3({{0, 2, NorthEast}, {1, 1, NorthEast | SouthWest}, {2, 0, SouthWest}});
    const TMockBoard falling
        = Board3x3({{0, 0, SouthEast}, {1, 1, SouthEast | NorthWest}, {2, 2, NorthWest}});

    for (int32_t mode : {1, 2}) {
        ExpectUnbrokenRoad(rising, mode, 1, -1, "rising diagonal");
        ExpectUnbrokenRoad(falling, mode, 1, 1, "falling diagonal");
    }
}

TEST(ArtRoads, DiagonalsCrossingAtAGridCornerShowBothRoadsCleanly)
{
    const TMockBoard rising
        = Board3x3({{0, 2, NorthEast}, {1, 1, NorthEast | SouthWest}, {2, 0, SouthWest}});
    const TMockBoard falling = Board3x3({{1, 0, SouthEast}, {2, 1, NorthWest}});
    TMockBoard both = rising;
    for (std::size_t i = 0; i < both.Arms.size(); ++i)
        both.Arms[i] |= falling.Arms[i];

    for (int32_t mode : {1, 2}) {
        const TIndexedPicture meadow = Mockup().Board(TMockBoard {}, mode);
        const TIndexedPicture one = Mockup().Board(rising, mode);
        const TIndexedPicture other = Mockup().Board(falling, mode);
        const TIndexedPicture crossed = Mockup().Board(both, mode);
        for (std::size_t i = 0; i < crossed.Pixels.size(); ++i) {
            const uint8_t empty = meadow.Pixels[i];
            const uint8_t a = one.Pixels[i];
            const uint8_t b = other.Pixels[i];
            const uint8_t seen = crossed.Pixels[i];
            // Where only one road lies its pixel shows; where both agree, that pixel shows.
            if (b == empty || a == b) {
                ASSERT_EQ(seen, a) << "mode " << mode << ", pixel " << i;
            } else if (a == empty) {
                ASSERT_EQ(seen, b) << "mode " << mode << ", pixel " << i;
            } else {
                ASSERT_TRUE(seen == a || seen == b) << "mode " << mode << ", pixel " << i;
            }
        }
    }
}
