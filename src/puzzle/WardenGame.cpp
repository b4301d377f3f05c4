#include "puzzle/WardenGame.h"

bool TWardenGame::Start()
{
    if (FPlaying)
        return false;
    if (FNeedNewPuzzle)
        NewPuzzle();
    FWon = false;
    FPlaying = true;
    FStep = 0;
    FScrambleCount = ScrambleSteps;
    FTimerMode = TimerScramble;
    return true;
}

// A step that happens to leave the board solved starts the count over.
bool TWardenGame::ScrambleStep()
{
    if (!FPlaying || FScrambleCount <= 0)
        return false;
    Board.ScrambleStep();
    --FScrambleCount;
    if (Board.IsSolved())
        FScrambleCount = ScrambleSteps;
    return FScrambleCount > 0;
}

// A move cycle cut short leaves no arrow active behind it, so the next game starts with all
// arrows released.
void TWardenGame::Stop()
{
    FPlaying = false;
    FArrowIndex = 0;
    FReleased = false;
    NewPuzzle();
}

bool TWardenGame::SizeChange(int32_t cols, int32_t rows)
{
    if (FPlaying)
        return false;
    Board.SetCols(cols);
    Board.SetRows(rows);
    NewPuzzle();
    FWon = false;
    return true;
}

bool TWardenGame::NewPicture()
{
    if (FPlaying)
        return false;
    NewPuzzle();
    return true;
}

bool TWardenGame::PressArrow(bool isColumn, int32_t index)
{
    if (!FPlaying || FScrambleCount != 0 || !Board.IsArrow(isColumn, index))
        return false;
    if (FArrowIndex != 0 && (FArrowIsColumn != isColumn || FArrowIndex != index))
        return false;
    FArrowIsColumn = isColumn;
    FArrowIndex = index;
    FReleased = false;
    return true;
}

void TWardenGame::StartMove()
{
    Board.ApplyArrow(FArrowIsColumn, FArrowIndex);
    FStep = 0;
    FTimerMode = TimerMoveCycle;
}

void TWardenGame::ReleaseArrow()
{
    if (FArrowIndex != 0)
        FReleased = true;
}

bool TWardenGame::MoveFinished()
{
    if (!FPlaying || !Board.IsSolved())
        return false;
    FPlaying = false;
    FWon = true;
    FNeedNewPuzzle = true;
    return true;
}

void TWardenGame::NewPuzzle()
{
    Board.NewPuzzle();
    FNeedNewPuzzle = false;
}
