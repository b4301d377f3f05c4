#include "game/WardenHints.h"

#include "solver/PuzzleSolver.h"

TWardenHints::TWardenHints(TWardenPlay& play, std::function<void(const std::string&)> announce)
    : FPlay(play)
    , FAnnounce(std::move(announce))
{
}

void TWardenHints::ShowHint()
{
    GiveHelp(THelp::Hint);
}

void TWardenHints::ShowMe()
{
    GiveHelp(THelp::ShowMe);
}

void TWardenHints::PlayerActed()
{
    FHelp = THelp::None;
}

// Answers still being worked out are for a game that is over.
void TWardenHints::Reset()
{
    FHelp = THelp::None;
    FCoach.Reset();
    FParSolve.Task.reset();
    FHelpSolve.Task.reset();
}

void TWardenHints::GiveHelp(THelp help)
{
    if (!FPlay.ReadyForMove())
        return;
    FHelp = help;
    ContinueHelp();
}

// Plays the next move of the way back when the coach knows it for the board as it is, else asks
// the solver and plays when the answer comes; the game goes on meanwhile.
void TWardenHints::ContinueHelp()
{
    if (FHelp == THelp::None || !FPlay.ReadyForMove())
        return;
    const std::optional<TArrow> move = FCoach.NextMove(FPlay.Game.Board);
    if (!move) {
        RequestSolution(false);
        return;
    }
    if (FHelp == THelp::Hint)
        FHelp = THelp::None;
    FCoach.Assisted = true;
    FAnnounce(MoveWords(FPlay.Game.Board, *move));
    FPlay.PlayMove(*move);
    FCoach.MovePlayed(FPlay.Game.Board);
}

void TWardenHints::RequestSolution(bool forPar)
{
    const TPuzzleBoard board = FPlay.Game.Board;
    // Whichever question is already being answered for this board answers this one too.
    for (const TSolveJob* job : {&FParSolve, &FHelpSolve})
        if (!forPar && job->Pending() && job->Board == board)
            return;
    TSolveJob& job = forPar ? FParSolve : FHelpSolve;
    job.Task.reset();
    job.Board = board;
    auto solution = std::make_shared<std::optional<TSolution>>();
    const uint32_t game = FCoach.Game();
    job.Task = std::make_unique<TBackgroundTask>(
        [board, solution](const std::atomic<bool>& cancel) {
            TSolveOptions options;
            options.Cancel = &cancel;
            *solution
                = SolvePuzzle(board.Current, board.Target, board.Cols(), board.Rows(), options);
        },
        [this, board, solution, game, forPar](std::exception_ptr error) {
            if (error)
                std::rethrow_exception(error);
            if (!*solution || game != FCoach.Game())
                return;
            const TSolution& way = **solution;
            if (forPar)
                FCoach.Par = TPar {static_cast<int32_t>(way.Moves.size()), way.Shortest};
            FCoach.Learn(game, board, way.Moves);
            if (FPlay.Game.Board == board)
                ContinueHelp();
        });
}

// The par is asked for when the scramble ends: the tables it needs are built meanwhile, rather
// than after it. A build for another size is no longer wanted and would hold up this one's:
// it is cancelled, which leaves its tables to be built when that size is played again.
void TWardenHints::PrepareSolverTables()
{
    const int32_t cols = FPlay.Game.Board.Cols();
    const int32_t rows = FPlay.Game.Board.Rows();
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

void TWardenHints::PlayEvent(TPlayEvent event)
{
    switch (event) {
    case TPlayEvent::Started:
        Reset();
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
        FHelp = THelp::None;
        break;
    case TPlayEvent::Stopped:
        Reset();
        break;
    }
}
