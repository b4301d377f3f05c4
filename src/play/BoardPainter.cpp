#include "play/BoardPainter.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace {

constexpr int32_t RoadLayers = 3;
constexpr int32_t EndCapPiece = 8;
constexpr int32_t CornerSize = 7;
constexpr int32_t CornerNorthEast = 0; // the north-east to south-west piece
constexpr int32_t CornerNorthWest = 7; // the north-west to south-east piece
constexpr int32_t ArrowFramesBeforeSecondSet = 3;

TRect PieceRect(int32_t pieceColumn, int32_t pieceRow)
{
    return {CellPitch * pieceColumn, CellPitch * pieceRow, CellPitch * (pieceColumn + 1),
        CellPitch * (pieceRow + 1)};
}

// Selects a palette into a device context for the life of the guard.
class TPaletteSelection {
public:
    TPaletteSelection(TDeviceContext& dc, const TDisplayPalette* palette)
        : FDc(dc)
        , FPrevious(dc.SelectPalette(palette, false))
    {
    }
    TPaletteSelection(const TPaletteSelection&) = delete;
    TPaletteSelection& operator=(const TPaletteSelection&) = delete;
    ~TPaletteSelection() { FDc.SelectPalette(FPrevious, false); }

private:
    TDeviceContext& FDc;
    const TDisplayPalette* FPrevious;
};

} // namespace

TBoardPainter::TBoardPainter(const TGameImages& images, TTilePainter tiles)
    : FImages(images)
    , FTiles(std::move(tiles))
{
}

void TBoardPainter::DrawTiles(const TRoadBoard& board, const TBoardLayout& layout,
    TVX8ImageData* surface, int32_t c1, int32_t r1, int32_t c2, int32_t r2, TTileMode mode) const
{
    if (surface == nullptr || FImages.Roads == nullptr || FImages.ConnDiag == nullptr)
        return;
    if (FImages.Empty != nullptr) {
        for (int32_t c = c1; c <= c2; ++c) {
            for (int32_t r = r1; r <= r2; ++r)
                surface->Draw(layout.CellTopLeft(c, r), *FImages.Empty, FImages.Empty->Bounds());
        }
    }
    const bool corners = mode != TTileMode::Grid;
    if (mode == TTileMode::Raised) {
        for (int32_t layer : {2, 1, 0})
            DrawPieces(board, layout, *surface, c1, r1, c2, r2, layer, corners);
    } else {
        DrawPieces(board, layout, *surface, c1, r1, c2, r2, 0, corners);
    }
    if (mode != TTileMode::Grid)
        return;
    const int32_t ox = layout.OriginX();
    const int32_t oy = layout.OriginY();
    for (int32_t c = c1; c <= c2; ++c)
        surface->VertLine({ox + CellPitch * c - 1, oy + CellPitch * (r1 - 1)},
            CellPitch * (r2 - r1 + 1), GridLineIndex);
    for (int32_t r = r1; r <= r2; ++r)
        surface->HorzLine({ox + CellPitch * (c1 - 1), oy + CellPitch * r - 1},
            CellPitch * (c2 - c1 + 1), GridLineIndex);
}

// One layer: the road pieces of every cell, then the corner pieces where diagonal roads cross a
// grid corner on the cells' top edges. Layer 1 lies a pixel to the right, layer 2 a pixel lower.
void TBoardPainter::DrawPieces(const TRoadBoard& board, const TBoardLayout& layout,
    TVX8ImageData& surface, int32_t c1, int32_t r1, int32_t c2, int32_t r2, int32_t layer,
    bool corners) const
{
    TVX8ImageData& roads = *FImages.Roads;
    auto at = [&](int32_t c, int32_t r) {
        const TPoint p = layout.CellTopLeft(c, r);
        return TPoint {p.X + (layer == 1 ? 1 : 0), p.Y + (layer == 2 ? 1 : 0)};
    };
    for (int32_t c = c1; c <= c2; ++c) {
        for (int32_t r = r1; r <= r2; ++r) {
            const TRoadCell& cell = board.Cell(c, r);
            const TPoint p = at(c, r);
            auto piece = [&](int32_t colour, int32_t row) {
                const int32_t column = colour * RoadLayers + layer;
                const TRect part = OpaquePart(column, row);
                surface.Draw(
                    {p.X + part.Left - CellPitch * column, p.Y + part.Top - CellPitch * row}, roads,
                    part);
            };
            if (std::popcount(cell.Arms) == 1)
                piece(cell.ArmColours[EndCapSlot], EndCapPiece);
            for (int32_t k = 0; k < ArmSlots; ++k)
                if ((cell.Arms >> k & 1) != 0)
                    piece(cell.ArmColours[static_cast<std::size_t>(k)], k);
        }
    }
    if (!corners)
        return;
    TVX8ImageData& pieces = *FImages.ConnDiag;
    auto corner = [&](TPoint p, int32_t piece) {
        const int32_t x = CornerSize * layer;
        surface.Draw(p, pieces, {x, piece, x + CornerSize, piece + CornerSize});
    };
    for (int32_t c = c1; c <= c2; ++c) {
        for (int32_t r = r1; r <= r2; ++r) {
            const TPoint p = at(c, r);
            if (r > 1) {
                const uint8_t above = board.Cell(c, r - 1).Arms;
                if (above & ArmSouthEast)
                    corner({p.X + 28, p.Y - 4}, CornerNorthWest);
                if (above & ArmSouthWest)
                    corner({p.X - 4, p.Y - 4}, CornerNorthEast);
            } else if (layout.Rows > 1) {
                const uint8_t below = board.Cell(c, 2).Arms;
                if (below & ArmNorthWest)
                    corner({p.X - 4, p.Y + 28}, CornerNorthWest);
                if (below & ArmNorthEast)
                    corner({p.X + 28, p.Y + 28}, CornerNorthEast);
            }
        }
    }
}

TRect TBoardPainter::OpaquePart(int32_t pieceColumn, int32_t pieceRow) const
{
    TVX8ImageData& roads = *FImages.Roads;
    const int32_t columns = roads.Width / CellPitch;
    const int32_t rows = roads.Height / CellPitch;
    if (pieceColumn < 0 || pieceColumn >= columns || pieceRow < 0 || pieceRow >= rows)
        return PieceRect(pieceColumn, pieceRow); // outside the strip: Draw clips it away
    if (FPartsOf != &roads) {
        FOpaqueParts.assign(static_cast<std::size_t>(columns * rows), TRect {});
        for (int32_t c = 0; c < columns; ++c)
            for (int32_t r = 0; r < rows; ++r) {
                const TRect whole = PieceRect(c, r);
                TRect part {whole.Right, whole.Bottom, whole.Left, whole.Top};
                for (int32_t y = whole.Top; y < whole.Bottom; ++y) {
                    const uint8_t* line = roads.StartLine(whole.Left, y);
                    for (int32_t x = 0; x < CellPitch; ++x)
                        if (line[x] != roads.TransparentKey())
                            part = {std::min(part.Left, whole.Left + x), std::min(part.Top, y),
                                std::max(part.Right, whole.Left + x + 1), y + 1};
                    roads.UnlockSegment(whole.Left, y);
                }
                FOpaqueParts[static_cast<std::size_t>(c * rows + r)]
                    = IsRectEmpty(part) ? TRect {} : part;
            }
        FPartsOf = &roads;
    }
    return FOpaqueParts[static_cast<std::size_t>(pieceColumn * rows + pieceRow)];
}

void TBoardPainter::RenderBoard(TBoardKind kind, const TPlayView& view, TPoint windowPosition) const
{
    const bool play = kind == TBoardKind::Play;
    TVX8ImageData* surface = play ? FImages.PlayBoard : FImages.PreviewBoard;
    if (surface == nullptr)
        return;
    const TBoardLayout layout = TBoardLayout::Of(view.Board);
    if (!play && !view.Playing) {
        if (FTiles)
            FTiles(*surface, windowPosition);
        const TImageHold message
            = TImageHold::Open(FImages.Library, view.Won ? "welldone" : "clicksr");
        if (TVX8ImageData* picture = message.Surface())
            surface->Draw({1, 1}, *picture, picture->Bounds());
        return;
    }
    const TTileMode mode
        = view.Playing ? (play ? TTileMode::Grid : TTileMode::Flat) : TTileMode::Raised;
    DrawBoard(
        *surface, play ? view.Board.Current : view.Board.Target, layout, mode, windowPosition);
    if (play && view.Playing)
        DrawAllArrows(view);
}

void TBoardPainter::DrawBoard(TVX8ImageData& surface, const TRoadBoard& board,
    const TBoardLayout& layout, TTileMode mode, TPoint windowPosition) const
{
    if (FTiles)
        FTiles(surface, windowPosition);
    const int32_t ox = layout.OriginX();
    const int32_t oy = layout.OriginY();
    surface.HorzLine({ox - 1, oy - 1}, CellPitch * layout.Cols, GridLineIndex);
    surface.VertLine({ox - 1, oy - 1}, CellPitch * layout.Rows, GridLineIndex);
    if (mode != TTileMode::Grid) {
        surface.HorzLine(
            {ox, oy + CellPitch * layout.Rows}, CellPitch * layout.Cols, EdgeLineIndex);
        surface.VertLine(
            {ox + CellPitch * layout.Cols, oy}, CellPitch * layout.Rows, EdgeLineIndex);
    }
    DrawTiles(board, layout, &surface, 1, 1, layout.Cols, layout.Rows, mode);
}

void TBoardPainter::DrawArrow(const TPlayView& view, bool isColumn, int32_t index) const
{
    const TBoardLayout layout = TBoardLayout::Of(view.Board);
    const bool pressed = view.Arrow == TArrow {isColumn, index};
    const bool second = index > (isColumn ? layout.Cols : layout.Rows);
    // Up and left arrows show frames 0..4 (keys A..E, 1..5), down and right arrows frames from
    // 0 for the fourth key on (D..J, 4..0), so that every arrow shows its key.
    const int32_t frameTop = ArrowSize * (index - 1 - (second ? ArrowFramesBeforeSecondSet : 0));
    const auto image
        = static_cast<TArrowImage>((isColumn ? 0 : 4) + (second ? 2 : 0) + (pressed ? 1 : 0));
    TVX8ImageData* picture = FImages.Arrow(image);
    if (FImages.PlayBoard == nullptr || picture == nullptr)
        return;
    const TRect r = layout.ArrowRect(isColumn, index);
    FImages.PlayBoard->Draw(
        {r.Left, r.Top}, *picture, {0, frameTop, ArrowSize, frameTop + ArrowSize});
}

void TBoardPainter::DrawAllArrows(const TPlayView& view) const
{
    for (int32_t a = 1; a <= 2 * view.Board.Cols(); ++a)
        DrawArrow(view, true, a);
    for (int32_t a = 1; a <= 2 * view.Board.Rows(); ++a)
        DrawArrow(view, false, a);
}

void TBoardPainter::ComposeScrollFrame(
    TVX8ImageData& frame, const TPlayView& view, int32_t offset) const
{
    TVX8ImageData* play = FImages.PlayBoard;
    if (play == nullptr)
        return;
    frame.Draw({0, 0}, *play, play->Bounds());
    const TBoardLayout layout = TBoardLayout::Of(view.Board);
    const TArrow arrow = view.Arrow;
    if (!view.Board.IsArrow(arrow.IsColumn, arrow.Index))
        return;
    const TRect s = layout.MovingStrip(arrow);
    const int32_t length = arrow.IsColumn ? RectHeight(s) : RectWidth(s);
    if (offset <= 0 || offset >= length)
        return;
    // The strip is read from the play board, which holds the same pixels as the frame's copy.
    // piece(from, to, n): strip positions from..from+n-1 land at to..to+n-1.
    auto piece = [&](int32_t from, int32_t to, int32_t n) {
        if (arrow.IsColumn)
            frame.Draw(
                {s.Left, s.Top + to}, *play, {s.Left, s.Top + from, s.Right, s.Top + from + n});
        else
            frame.Draw(
                {s.Left + to, s.Top}, *play, {s.Left + from, s.Top, s.Left + from + n, s.Bottom});
    };
    const bool backwards = arrow.Index <= (arrow.IsColumn ? layout.Cols : layout.Rows);
    if (backwards) {
        piece(0, offset, length - offset);
        piece(length - offset, 0, offset);
    } else {
        piece(offset, 0, length - offset);
        piece(0, length - offset, offset);
    }
}

void ShowSurface(TDeviceContext* dc, TVX8ImageData* surface, const TDisplayPalette* palette)
{
    if (dc == nullptr || surface == nullptr)
        return;
    surface->AddDamage(dc->ClipBox());
    const TPaletteSelection selection(*dc, palette);
    surface->FlushDamage(*dc, {0, 0});
}
