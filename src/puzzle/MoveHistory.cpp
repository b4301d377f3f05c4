#include "puzzle/MoveHistory.h"

void TMoveHistory::Record(TArrow arrow)
{
    FDone.push_back(arrow);
    FUndone.clear();
}

std::optional<TArrow> TMoveHistory::Undo(int32_t cols, int32_t rows)
{
    if (FDone.empty())
        return std::nullopt;
    const TArrow last = FDone.back();
    FDone.pop_back();
    FUndone.push_back(last);
    return OppositeArrow(last, cols, rows);
}

std::optional<TArrow> TMoveHistory::Redo()
{
    if (FUndone.empty())
        return std::nullopt;
    const TArrow next = FUndone.back();
    FUndone.pop_back();
    FDone.push_back(next);
    return next;
}

void TMoveHistory::Clear()
{
    FDone.clear();
    FUndone.clear();
}

TArrow OppositeArrow(TArrow arrow, int32_t cols, int32_t rows)
{
    const int32_t lines = arrow.IsColumn ? cols : rows;
    return {arrow.IsColumn, arrow.Index <= lines ? arrow.Index + lines : arrow.Index - lines};
}
