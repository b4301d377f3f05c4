#include "play/WardenCoach.h"

#include <utility>

void TWardenCoach::Reset()
{
    ++FGame;
    Par.reset();
    Assisted = false;
    FFrom.reset();
    FWay.clear();
}

void TWardenCoach::Learn(uint32_t game, const TPuzzleBoard& solved, std::vector<TArrow> moves)
{
    if (game != FGame)
        return;
    FFrom = solved;
    FWay = std::move(moves);
}

std::optional<TArrow> TWardenCoach::NextMove(const TPuzzleBoard& board) const
{
    if (!FFrom || FWay.empty() || *FFrom != board)
        return std::nullopt;
    return FWay.front();
}

void TWardenCoach::MovePlayed(const TPuzzleBoard& board)
{
    if (FWay.empty())
        return;
    FWay.erase(FWay.begin());
    FFrom = board;
}

std::string ParText(const TPar& par)
{
    if (par.Shortest)
        return "par " + std::to_string(par.Moves);
    return "a way back in " + std::to_string(par.Moves) + (par.Moves == 1 ? " move" : " moves");
}

TArrowWords DescribeArrow(const TPuzzleBoard& board, TArrow arrow)
{
    const int32_t lines = arrow.IsColumn ? board.Cols() : board.Rows();
    const bool first = arrow.Index <= lines;
    const char* direction = arrow.IsColumn ? (first ? "up" : "down") : (first ? "left" : "right");
    return {
        arrow.IsColumn ? "Column" : "Row", first ? arrow.Index : arrow.Index - lines, direction};
}

std::string MoveWords(const TPuzzleBoard& board, TArrow arrow)
{
    const TArrowWords words = DescribeArrow(board, arrow);
    return std::string(words.Kind) + " " + std::to_string(words.Line) + " " + words.Direction;
}
