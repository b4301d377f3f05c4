#include "puzzle/MoveHistory.h"

void TMoveHistory::Record(TArrow arrow, const TPuzzleBoard& before, const TPuzzleBoard& after)
{
    FDone.push_back({arrow, before, after});
    FUndone.clear();
}

std::optional<TRestore> TMoveHistory::Undo()
{
    if (FDone.empty())
        return std::nullopt;
    FUndone.push_back(FDone.back());
    FDone.pop_back();
    const TStep& last = FUndone.back();
    return TRestore {
        last.Before, OppositeArrow(last.Arrow, last.Before.Cols(), last.Before.Rows())};
}

std::optional<TRestore> TMoveHistory::Redo()
{
    if (FUndone.empty())
        return std::nullopt;
    FDone.push_back(FUndone.back());
    FUndone.pop_back();
    return TRestore {FDone.back().After, FDone.back().Arrow};
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
