#include "art/ArtRoads.h"

#include "art/ArtBackground.h"
#include "art/ArtColours.h"

#include <array>
#include <cmath>
#include <functional>
#include <optional>

namespace {

// The pieces are worked out on a board of 3 x 3 cells, so that every overlap a piece can meet in
// the game (the other arms of its cell, the corner pieces at its corners, the arms under a
// corner piece) lies inside it.
constexpr int32_t BoardCells = 3;
constexpr int32_t BoardSize = BoardCells * CellSize;
constexpr int32_t Samples = 8;
constexpr double CapRadius = 6.5;
constexpr double CapRimWidth = 1.3;

struct TVec {
    double X = 0;
    double Y = 0;
};

constexpr std::array<TVec, RoadArms> ArmDirections
    = {{{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};

struct TArea {
    int32_t Left, Top, Right, Bottom;
};

// Paint of one sample of a piece: its colour, or nothing where the piece does not reach.
using TSampler = std::function<std::optional<TArtColour>(double x, double y)>;

// A piece rasterised over the work board: coverage and mean colour of each pixel.
struct TRaster {
    TArea Area {};
    std::vector<double> Alpha = std::vector<double>(BoardSize * BoardSize, 0.0);
    std::vector<TArtColour> Colour = std::vector<TArtColour>(BoardSize * BoardSize);
    double AlphaAt(int32_t x, int32_t y) const { return Alpha[y * BoardSize + x]; }
};

TVec CellCentre(int32_t col, int32_t row)
{
    return {col * CellSize + RoadCentre, row * CellSize + RoadCentre};
}

TArea CellRect(int32_t col, int32_t row)
{
    return {col * CellSize, row * CellSize, (col + 1) * CellSize, (row + 1) * CellSize};
}

bool Inside(const TArea& rect, int32_t x, int32_t y)
{
    return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

double SegmentDistance(TVec p, TVec a, TVec b)
{
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    double t = ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const double ex = p.X - (a.X + t * dx);
    const double ey = p.Y - (a.Y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

// Diagonal roads keep the pixel run of straight ones, so their perpendicular half-width is
// smaller by the square root of two.
double ArmHalfWidth(int32_t arm)
{
    return arm % 2 == 0 ? RoadHalfWidth : RoadHalfWidth / std::sqrt(2.0);
}

TRaster Rasterise(const TArea& area, const std::function<bool(int32_t, int32_t)>& pixelAllowed,
    const TSampler& sampler)
{
    TRaster raster;
    raster.Area = area;
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
        for (int32_t x = area.Left; x < area.Right; ++x) {
            if (!pixelAllowed(x, y))
                continue;
            int32_t hits = 0;
            TArtColour sum;
            for (int32_t sy = 0; sy < Samples; ++sy) {
                for (int32_t sx = 0; sx < Samples; ++sx) {
                    const auto paint = sampler(x + (sx + 0.5) / Samples, y + (sy + 0.5) / Samples);
                    if (!paint)
                        continue;
                    ++hits;
                    sum = {sum.R + paint->R, sum.G + paint->G, sum.B + paint->B};
                }
            }
            if (hits == 0)
                continue;
            raster.Alpha[y * BoardSize + x] = hits / double(Samples * Samples);
            raster.Colour[y * BoardSize + x] = Scale(sum, 1.0 / hits);
        }
    }
    return raster;
}

TArtColour LayerColour(int32_t layer)
{
    return layer == 0 ? Paint::Road : (layer == 1 ? Paint::RoadHighlight : Paint::RoadShadow);
}

TRaster ArmRaster(int32_t col, int32_t row, int32_t arm, int32_t layer)
{
    const TVec from = CellCentre(col, row);
    const TVec to = {from.X + 24 * ArmDirections[arm].X, from.Y + 24 * ArmDirections[arm].Y};
    const double halfWidth = ArmHalfWidth(arm);
    const TArtColour colour = LayerColour(layer);
    return Rasterise(
        CellRect(col, row), [](int32_t, int32_t) { return true; },
        [=](double x, double y) -> std::optional<TArtColour> {
            if (SegmentDistance({x, y}, from, to) > halfWidth)
                return std::nullopt;
            return colour;
        });
}

// The end cap: a round turning place, rimmed on the road layer so that the arm leaving it
// reads as the way in.
TRaster CapRaster(int32_t col, int32_t row, int32_t layer)
{
    const TVec centre = CellCentre(col, row);
    const TArtColour colour = LayerColour(layer);
    return Rasterise(
        CellRect(col, row), [](int32_t, int32_t) { return true; },
        [=](double x, double y) -> std::optional<TArtColour> {
            const double r = std::hypot(x - centre.X, y - centre.Y);
            if (r > CapRadius)
                return std::nullopt;
            if (layer == 0 && r > CapRadius - CapRimWidth)
                return Paint::RoadRim;
            return colour;
        });
}

// The corner piece of a diagonal from the centre of cell (col, row) to the diagonal neighbour
// (col + 1, row + dy): the road's overhang into the two cells beside the corner, within the
// 7 x 7 square centred on the corner pixel (the raster's area). The diagonal's own cells are
// left to its arms.
TRaster CornerRaster(int32_t col, int32_t row, int32_t dy, int32_t layer)
{
    const TVec from = CellCentre(col, row);
    const TVec to = CellCentre(col + 1, row + dy);
    const auto cornerX = static_cast<int32_t>(std::floor((from.X + to.X) / 2));
    const auto cornerY = static_cast<int32_t>(std::floor((from.Y + to.Y) / 2));
    const TArea square = {cornerX - 3, cornerY - 3, cornerX + 4, cornerY + 4};
    const TArea ownA = CellRect(col, row);
    const TArea ownB = CellRect(col + 1, row + dy);
    const double halfWidth = ArmHalfWidth(1);
    const TArtColour colour = LayerColour(layer);
    return Rasterise(
        square, [=](int32_t x, int32_t y) { return !Inside(ownA, x, y) && !Inside(ownB, x, y); },
        [=](double x, double y) -> std::optional<TArtColour> {
            if (SegmentDistance({x, y}, from, to) > halfWidth)
                return std::nullopt;
            return colour;
        });
}

// Everything that can be drawn in one layer of the work board.
struct TLayerPieces {
    std::vector<TRaster> Arms; // cell-major: (row * 3 + col) * 8 + arm
    std::vector<TRaster> Caps; // row * 3 + col
    std::vector<TRaster> Corners; // per inner grid corner: rising, then falling
};

// The inner grid corner at the top right of the middle cell, whose pieces become "conndiag".
constexpr std::size_t PictureCorner = 1;

TLayerPieces LayerPieces(int32_t layer)
{
    TLayerPieces pieces;
    for (int32_t row = 0; row < BoardCells; ++row) {
        for (int32_t col = 0; col < BoardCells; ++col) {
            for (int32_t arm = 0; arm < RoadArms; ++arm)
                pieces.Arms.push_back(ArmRaster(col, row, arm, layer));
            pieces.Caps.push_back(CapRaster(col, row, layer));
        }
    }
    // Block (col, row) is the 2 x 2 block of cells whose shared corner the pieces cover.
    for (int32_t row = 0; row < BoardCells - 1; ++row) {
        for (int32_t col = 0; col < BoardCells - 1; ++col) {
            pieces.Corners.push_back(CornerRaster(col, row + 1, -1, layer));
            pieces.Corners.push_back(CornerRaster(col, row, 1, layer));
        }
    }
    return pieces;
}

// True when a piece other than `self` is drawn at least half at the pixel: the pixel of `self`
// is then either full road or left out, never an edge blended against the meadow, so that
// whichever piece the game draws last the junction stays clean.
bool OtherPieceCovers(const TLayerPieces& pieces, const TRaster* self, int32_t x, int32_t y)
{
    auto covers
        = [&](const TRaster& other) { return &other != self && other.AlphaAt(x, y) >= 0.5; };
    for (const TRaster& arm : pieces.Arms) {
        if (covers(arm))
            return true;
    }
    for (const TRaster& cap : pieces.Caps) {
        if (covers(cap))
            return true;
    }
    for (const TRaster& corner : pieces.Corners) {
        if (covers(corner))
            return true;
    }
    return false;
}

// Copies one piece out of the work board into the picture, blended against the meadow that lies
// under the layer (shifted by the layer's offset).
void PlacePiece(const TLayerPieces& pieces, const TRaster& raster, const TArea& source,
    int32_t layer, const TArtPicture& empty, TArtPicture& picture, int32_t destX, int32_t destY)
{
    const int32_t shiftX = layer == 1 ? 1 : 0;
    const int32_t shiftY = layer == 2 ? 1 : 0;
    const TUnderlay meadow = TiledUnderlay(empty, shiftX, shiftY);
    for (int32_t y = source.Top; y < source.Bottom; ++y) {
        for (int32_t x = source.Left; x < source.Right; ++x) {
            double alpha = raster.AlphaAt(x, y);
            if (alpha > 0 && alpha < 1 && OtherPieceCovers(pieces, &raster, x, y))
                alpha = alpha >= 0.5 ? 1 : 0;
            if (alpha < 0.5)
                continue;
            const int32_t px = destX + x - source.Left;
            const int32_t py = destY + y - source.Top;
            picture.At(px, py) = Mix(meadow(x, y), raster.Colour[y * BoardSize + x], alpha);
            picture.SetCovered(px, py, true);
        }
    }
}

} // namespace

TArtPicture DrawRoads(const TArtPicture& empty)
{
    TArtPicture roads("roads", RoadLayers * CellSize, (RoadArms + 1) * CellSize, true);
    const TArea middle = CellRect(1, 1);
    for (int32_t layer = 0; layer < RoadLayers; ++layer) {
        const TLayerPieces pieces = LayerPieces(layer);
        const std::size_t first = static_cast<std::size_t>(BoardCells + 1) * RoadArms;
        for (int32_t arm = 0; arm < RoadArms; ++arm) {
            PlacePiece(pieces, pieces.Arms[first + static_cast<std::size_t>(arm)], middle, layer,
                empty, roads, layer * CellSize, arm * CellSize);
        }
        PlacePiece(pieces, pieces.Caps[BoardCells + 1], middle, layer, empty, roads,
            layer * CellSize, EndCapRow * CellSize);
    }
    return roads;
}

TArtPicture DrawCornerPieces(const TArtPicture& empty)
{
    TArtPicture corners("conndiag", RoadLayers * CornerSize, 2 * CornerSize, true);
    for (int32_t layer = 0; layer < RoadLayers; ++layer) {
        const TLayerPieces pieces = LayerPieces(layer);
        for (std::size_t kind = 0; kind < 2; ++kind) {
            const TRaster& corner = pieces.Corners[PictureCorner * 2 + kind];
            PlacePiece(pieces, corner, corner.Area, layer, empty, corners, layer * CornerSize,
                static_cast<int32_t>(kind) * CornerSize);
        }
    }
    return corners;
}
