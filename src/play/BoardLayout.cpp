#include "play/BoardLayout.h"

TRect TBoardLayout::ArrowRect(bool isColumn, int32_t index) const
{
    const int32_t lines = isColumn ? Cols : Rows;
    const int32_t across = isColumn ? OriginX() : OriginY();
    const int32_t along = isColumn ? OriginY() : OriginX();
    const int32_t otherLines = isColumn ? Rows : Cols;
    const int32_t start = across + 6 + CellPitch * ((index - 1) % lines);
    const int32_t edge = index <= lines ? along - 25 : along + CellPitch * otherLines + 4;
    if (isColumn)
        return {start, edge, start + ArrowSize, edge + ArrowSize};
    return {edge, start, edge + ArrowSize, start + ArrowSize};
}

std::optional<TArrow> TBoardLayout::ArrowAt(int32_t x, int32_t y) const
{
    // Right, left, down, up: the sets do not overlap, so the order only fixes the search.
    const TArrow firsts[] = {{false, Rows + 1}, {false, 1}, {true, Cols + 1}, {true, 1}};
    for (const TArrow& first : firsts) {
        const TRect r = ArrowRect(first.IsColumn, first.Index);
        const int32_t across = first.IsColumn ? y : x;
        const int32_t acrossStart = first.IsColumn ? r.Top : r.Left;
        if (across < acrossStart || across >= acrossStart + ArrowSize)
            continue;
        const int32_t along = first.IsColumn ? x - r.Left : y - r.Top;
        const int32_t lines = first.IsColumn ? Cols : Rows;
        if (along >= 0 && along % CellPitch < ArrowSize && along / CellPitch < lines)
            return TArrow {first.IsColumn, first.Index + along / CellPitch};
    }
    return std::nullopt;
}

TRect TBoardLayout::MovingStrip(const TArrow& arrow) const
{
    if (arrow.IsColumn) {
        const int32_t col = arrow.Index > Cols ? arrow.Index - Cols : arrow.Index;
        const TPoint p = CellTopLeft(col, 1);
        return {p.X, p.Y, p.X + CellPitch - 1, p.Y + CellPitch * Rows};
    }
    const int32_t row = arrow.Index > Rows ? arrow.Index - Rows : arrow.Index;
    const TPoint p = CellTopLeft(1, row);
    return {p.X, p.Y, p.X + CellPitch * Cols, p.Y + CellPitch - 1};
}
