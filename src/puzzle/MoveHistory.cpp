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

const TPuzzleBoard& TMoveHistory::Origin(const TPuzzleBoard& current) const
{
    if (!FDone.empty())
        return FDone.front().Before;
    return FUndone.empty() ? current : FUndone.back().Before;
}

TMoveRecord TMoveHistory::Kept(const TPuzzleBoard& current) const
{
    TMoveRecord record;
    record.Scrambled = Origin(current);
    for (const TStep& step : FDone)
        record.Made.push_back(step.Arrow);
    for (auto step = FUndone.rbegin(); step != FUndone.rend(); ++step)
        record.Undone.push_back(step->Arrow);
    return record;
}

// The undone rotations are made after the others and taken back again, which leaves them in the
// order they were undone.
std::optional<std::pair<TMoveHistory, TPuzzleBoard>> TMoveHistory::Replay(const TMoveRecord& record)
{
    TMoveHistory history;
    TPuzzleBoard board = record.Scrambled;
    TPuzzleBoard reached;
    for (const std::vector<TArrow>* arrows : {&record.Made, &record.Undone}) {
        if (arrows == &record.Undone)
            reached = board;
        for (const TArrow arrow : *arrows) {
            if (!board.IsArrow(arrow.IsColumn, arrow.Index))
                return std::nullopt;
            TPuzzleBoard after = board.Apply(arrow);
            history.Record(arrow, board, after);
            board = after;
        }
    }
    for (size_t i = 0; i < record.Undone.size(); ++i)
        history.Undo();
    return std::pair {std::move(history), reached};
}

TArrow OppositeArrow(TArrow arrow, int32_t cols, int32_t rows)
{
    const int32_t lines = arrow.IsColumn ? cols : rows;
    return {arrow.IsColumn, arrow.Index <= lines ? arrow.Index + lines : arrow.Index - lines};
}
