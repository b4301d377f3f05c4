#include "game/FormWarden.h"

#include "solver/PuzzleSolver.h"

void TFormWarden::ShowHint()
{
    GiveHelp(THelp::Hint);
}

void TFormWarden::ShowMe()
{
    GiveHelp(THelp::ShowMe);
}

void TFormWarden::StopHelp()
{
    FHelp = THelp::None;
}

// Answers still being worked out are for a game that is over.
void TFormWarden::ResetCoach()
{
    StopHelp();
    Coach.Reset();
    FParSolve.Task.reset();
    FHelpSolve.Task.reset();
}

void TFormWarden::GiveHelp(THelp help)
{
    if (!Play || !Play->ReadyForMove())
        return;
    FHelp = help;
    ContinueHelp();
}

// Plays the next move of the way back when the coach knows it for the board as it is, else asks
// the solver and plays when the answer comes; the game goes on meanwhile.
void TFormWarden::ContinueHelp()
{
    if (FHelp == THelp::None || !Play || !Play->ReadyForMove())
        return;
    const std::optional<TArrow> move = Coach.NextMove(Play->Game.Board);
    if (!move) {
        RequestSolution(false);
        return;
    }
    if (FHelp == THelp::Hint)
        FHelp = THelp::None;
    Coach.Assisted = true;
    AnnounceOnForm(*this, MoveWords(Play->Game.Board, *move));
    Play->PlayMove(*move);
    Coach.MovePlayed(Play->Game.Board);
}

void TFormWarden::RequestSolution(bool forPar)
{
    const TBoardSnapshot board = TBoardSnapshot::Of(Play->Game.Board);
    // Whichever question is already being answered for this board answers this one too.
    for (const TSolveJob* job : {&FParSolve, &FHelpSolve})
        if (!forPar && job->Pending() && job->Board == board)
            return;
    TSolveJob& job = forPar ? FParSolve : FHelpSolve;
    job.Task.reset();
    job.Board = board;
    auto solution = std::make_shared<std::optional<TSolution>>();
    const uint32_t game = Coach.Game();
    job.Task = std::make_unique<TBackgroundTask>(
        [board, solution](const std::atomic<bool>& cancel) {
            TSolveOptions options;
            options.Cancel = &cancel;
            *solution = SolvePuzzle(board.Current, board.Target, board.Cols, board.Rows, options);
        },
        [this, board, solution, game, forPar](std::exception_ptr error) {
            if (error)
                std::rethrow_exception(error);
            if (!*solution || game != Coach.Game())
                return;
            const TSolution& way = **solution;
            if (forPar)
                Coach.Par = TPar {static_cast<int32_t>(way.Moves.size()), way.Shortest};
            Coach.Learn(game, board, way.Moves);
            if (Play && TBoardSnapshot::Of(Play->Game.Board) == board)
                ContinueHelp();
        });
}

// The par is asked for when the scramble ends: the tables it needs are built meanwhile, rather
// than after it. A build for another size is no longer wanted and would hold up this one's:
// it is cancelled, which leaves its tables to be built when that size is played again.
void TFormWarden::PrepareSolverTables()
{
    if (!Play)
        return;
    const int32_t cols = Play->Game.Board.Cols();
    const int32_t rows = Play->Game.Board.Rows();
    if (FSolverTables && !FSolverTables->Finished() && FSolverTablesSize == std::pair {cols, rows})
        return;
    FSolverTables.reset();
    FSolverTablesSize = {cols, rows};
    FSolverTables = std::make_unique<TBackgroundTask>(
        [cols, rows](const std::atomic<bool>& cancel) { PrepareSolver(cols, rows, &cancel); },
        [](std::exception_ptr error) {
            if (error)
                std::rethrow_exception(error);
        });
}

void TFormWarden::CoachEvent(TPlayEvent event)
{
    switch (event) {
    case TPlayEvent::Started:
        ResetCoach();
        PrepareSolverTables();
        break;
    case TPlayEvent::Scrambled:
        RequestSolution(true);
        break;
    case TPlayEvent::Moved:
        if (FHelp == THelp::ShowMe)
            ContinueHelp();
        break;
    case TPlayEvent::Won:
        StopHelp();
        break;
    }
}
