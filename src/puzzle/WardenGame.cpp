#include "puzzle/WardenGame.h"

bool TWardenGame::Start()
{
    if (Playing)
        return false;
    if (Board.NeedNewPuzzle)
        Board.NewPuzzle();
    Won = false;
    Playing = true;
    Step = 0;
    Board.ScrambleCount = ScrambleSteps;
    TimerMode = TimerScramble;
    return true;
}

bool TWardenGame::ScrambleStep()
{
    if (!Playing || Board.ScrambleCount <= 0)
        return false;
    return Board.ScrambleStep();
}

// A move cycle cut short leaves no arrow active behind it, so the next game starts with all
// arrows released.
void TWardenGame::Stop()
{
    Playing = false;
    ArrowIndex = 0;
    Board.NewPuzzle();
}

bool TWardenGame::SizeChange(int32_t cols, int32_t rows)
{
    if (Playing)
        return false;
    Board.SetCols(cols);
    Board.SetRows(rows);
    Board.NewPuzzle();
    Won = false;
    return true;
}

bool TWardenGame::NewPicture()
{
    if (Playing)
        return false;
    Board.NewPuzzle();
    return true;
}

bool TWardenGame::PressArrow(bool isColumn, int32_t index)
{
    if (!Playing || Board.ScrambleCount != 0 || !Board.IsArrow(isColumn, index))
        return false;
    if (ArrowIndex != 0 && (ArrowIsColumn != isColumn || ArrowIndex != index))
        return false;
    ArrowIsColumn = isColumn;
    ArrowIndex = index;
    Released = false;
    return true;
}

void TWardenGame::StartMove()
{
    Board.ApplyArrow(ArrowIsColumn, ArrowIndex);
    Step = 0;
    TimerMode = TimerMoveCycle;
}

void TWardenGame::ReleaseArrow()
{
    if (ArrowIndex != 0)
        Released = true;
}

bool TWardenGame::MoveFinished()
{
    if (!Playing || !Board.IsSolved())
        return false;
    Playing = false;
    Won = true;
    Board.NeedNewPuzzle = true;
    return true;
}
