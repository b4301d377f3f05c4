#pragma once

#include "play/BoardLayout.h"
#include "play/GameImages.h"
#include "play/PlayCommand.h"
#include "raster/DeviceContext.h"

#include <cstdint>
#include <functional>
#include <vector>

// Paints the window's background pattern into a surface as seen from a window position, so that
// what is drawn over it continues the background seamlessly.
using TTilePainter = std::function<void(TVX8ImageData& surface, TPoint windowPosition)>;

enum class TBoardKind : uint8_t { Play, Preview };

// How cells are drawn: Grid while a game runs on the play board (grid lines, one layer), Flat
// for the preview board (corner pieces, edge lines), Raised for the play board between games
// (three layers offset for depth, corner pieces, edge lines).
enum class TTileMode : uint8_t { Grid = 0, Flat = 1, Raised = 2 };

// Composes the play board and the preview board in their surfaces. Nothing here reaches the
// screen; ShowSurface does that.
class TBoardPainter {
public:
    TBoardPainter(const TGameImages& images, TTilePainter tiles);

    // Draws the cells c1..c2 by r1..r2 of the board into the surface.
    void DrawTiles(const TRoadBoard& board, const TBoardLayout& layout, TVX8ImageData* surface,
        int32_t c1, int32_t r1, int32_t c2, int32_t r2, TTileMode mode) const;
    // Composes a whole board for the game's state; windowPosition is where its paint box lies.
    void RenderBoard(TBoardKind kind, const TPlayView& view, TPoint windowPosition) const;
    // A board's surface without arrows or message: the background from windowPosition, the
    // border, the edge lines of the flat and raised drawings, and the cells.
    void DrawBoard(TVX8ImageData& surface, const TRoadBoard& board, const TBoardLayout& layout,
        TTileMode mode, TPoint windowPosition) const;
    // An arrow of the play board, drawn pressed while it is the game's active arrow.
    void DrawArrow(const TPlayView& view, bool isColumn, int32_t index) const;
    void DrawAllArrows(const TPlayView& view) const;
    // The play board with the moving line of the active arrow drawn `offset` pixels short of
    // its place, wrapping round within the line, into a surface of the play board's size.
    void ComposeScrollFrame(TVX8ImageData& frame, const TPlayView& view, int32_t offset) const;

private:
    void DrawPieces(const TRoadBoard& board, const TBoardLayout& layout, TVX8ImageData& surface,
        int32_t c1, int32_t r1, int32_t c2, int32_t r2, int32_t layer, bool corners) const;

    // The part of a "roads" piece that holds opaque pixels: drawing only it gives the same
    // picture, and most of a piece is transparent.
    TRect OpaquePart(int32_t pieceColumn, int32_t pieceRow) const;

    const TGameImages& FImages;
    TTilePainter FTiles;
    mutable const TVX8ImageData* FPartsOf = nullptr;
    mutable std::vector<TRect> FOpaqueParts;
};

// Transfers a surface to a device context: the context's clip box is added as damage, then all
// damage is flushed with the palette selected. Nothing happens when either is missing.
void ShowSurface(TDeviceContext* dc, TVX8ImageData* surface, const TDisplayPalette* palette);
