#include "puzzle/WardenGame.h"

#include <utility>

bool TWardenGame::Start()
{
    if (FPlaying)
        return false;
    if (FNeedNewPuzzle)
        NewPuzzle();
    FHistory.Clear();
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
    Board.ScrambleStep(FRandom);
    --FScrambleCount;
    if (Board.IsSolved())
        FScrambleCount = ScrambleSteps;
    return FScrambleCount > 0;
}

bool TWardenGame::Resume(const TPuzzleBoard& board, const TMoveRecord& record)
{
    const TPuzzleBoard& scrambled = record.Scrambled;
    if (FPlaying || scrambled.Cols() != board.Cols() || scrambled.Rows() != board.Rows()
        || scrambled.Target != board.Target || !scrambled.RotationsReachTarget() || board.IsSolved()
        || scrambled.IsSolved())
        return false;
    auto replay = TMoveHistory::Replay(record);
    if (!replay || replay->second != board)
        return false;
    FHistory = std::move(replay->first);
    Board = board;
    FBefore = board;
    FPlaying = true;
    FWon = false;
    FNeedNewPuzzle = false;
    FArrowIndex = 0;
    FReleased = false;
    FStep = 0;
    FScrambleCount = 0;
    FTimerMode = TimerMoveCycle;
    return true;
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

bool TWardenGame::ArrowAllowed(TArrow arrow) const
{
    return AcceptsArrows() && Board.IsArrow(arrow.IsColumn, arrow.Index)
        && (FArrowIndex == 0 || Arrow() == arrow);
}

bool TWardenGame::PressArrow(bool isColumn, int32_t index)
{
    if (!ArrowAllowed({isColumn, index}))
        return false;
    FArrowIsColumn = isColumn;
    FArrowIndex = index;
    FReleased = false;
    return true;
}

void TWardenGame::StartMove()
{
    FBefore = Board;
    Board = FBefore.Apply(Arrow());
    FHistory.Record(Arrow(), FBefore, Board);
    FStep = 0;
    FTimerMode = TimerMoveCycle;
}

bool TWardenGame::Undo()
{
    return ReadyForMove() && Restore(FHistory.Undo());
}

bool TWardenGame::Redo()
{
    return ReadyForMove() && Restore(FHistory.Redo());
}

bool TWardenGame::Restore(std::optional<TRestore> state)
{
    if (!state)
        return false;
    FArrowIsColumn = state->Slide.IsColumn;
    FArrowIndex = state->Slide.Index;
    FReleased = true;
    FBefore = Board;
    Board = state->Board;
    FStep = 0;
    FTimerMode = TimerMoveCycle;
    return true;
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
    FHistory.Clear();
    Board.NewPuzzle(FRandom);
    FNeedNewPuzzle = false;
}
