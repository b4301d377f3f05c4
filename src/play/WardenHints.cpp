#include "play/WardenHints.h"

#include "solver/PuzzleSolver.h"

TWardenHints::TWardenHints(TPlayDoor& play, TWardenCoach& coach,
    std::function<void(const std::string&)> announce, TGameThread gameThread)
    : FPlay(play)
    , FCoach(coach)
    , FAnnounce(std::move(announce))
    , FGameThread(std::move(gameThread))
{
}

void TWardenHints::Asked(const TCommand& command, const TPlayView&)
{
    if (command.Kind != TCommandKind::Hint && command.Kind != TCommandKind::ShowMe)
        return;
    FHelp = command.Kind == TCommandKind::Hint ? THelp::Hint : THelp::ShowMe;
    ContinueHelp();
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

// Plays the next move of the way back when the coach knows it for the board as it is, else asks
// the solver and plays when the answer comes; the game goes on meanwhile. While a move runs,
// the help waits for its end.
void TWardenHints::ContinueHelp()
{
    const TPlayView view = FPlay.View();
    if (FHelp == THelp::None || !view.ReadyForMove)
        return;
    const std::optional<TArrow> move = FCoach.NextMove(view.Board);
    if (!move) {
        RequestSolution(false, view.Board);
        return;
    }
    if (FHelp == THelp::Hint)
        FHelp = THelp::None;
    FAnnounce(MoveWords(view.Board, *move));
    FPlay.Post(TCommand::Help(*move));
}

void TWardenHints::RequestSolution(bool forPar, const TPuzzleBoard& board)
{
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
        FGameThread,
        [board, solution](const std::atomic<bool>& cancel) {
            TSolveOptions options;
            options.Cancel = &cancel;
            *solution
                = SolvePuzzle(board.Current, board.Target, board.Cols(), board.Rows(), options);
        },
        [this, board, solution, game, forPar](const std::exception_ptr& error) {
            if (error)
                std::rethrow_exception(error);
            if (!*solution || game != FCoach.Game())
                return;
            const TSolution& way = **solution;
            if (forPar)
                FCoach.Par = TPar {static_cast<int32_t>(way.Moves.size()), way.Shortest};
            FCoach.Learn(game, board, way.Moves);
            if (FPlay.View().Board == board)
                ContinueHelp();
        });
}

// The par is asked for when the scramble ends: the tables it needs are built meanwhile, rather
// than after it. A build for another size is no longer wanted and would hold up this one's:
// it is cancelled, which leaves its tables to be built when that size is played again.
void TWardenHints::PrepareSolverTables(int32_t cols, int32_t rows)
{
    if (FSolverTables && !FSolverTables->Finished() && FSolverTablesSize == std::pair {cols, rows})
        return;
    FSolverTables.reset();
    FSolverTablesSize = {cols, rows};
    FSolverTables = std::make_unique<TBackgroundTask>(
        FGameThread,
        [cols, rows](const std::atomic<bool>& cancel) { PrepareSolver(cols, rows, &cancel); },
        [](const std::exception_ptr& error) {
            if (error)
                std::rethrow_exception(error);
        });
}

void TWardenHints::PlayEvent(TPlayEvent event, const TPlayView& view)
{
    switch (event) {
    case TPlayEvent::Started:
        Reset();
        PrepareSolverTables(view.Board.Cols(), view.Board.Rows());
        break;
    case TPlayEvent::Scrambled:
        RequestSolution(true, view.Board);
        break;
    // The coach has started afresh with the help the kept game had.
    case TPlayEvent::Resumed:
        FHelp = THelp::None;
        PrepareSolverTables(view.Board.Cols(), view.Board.Rows());
        if (view.Scrambled != nullptr)
            RequestSolution(true, *view.Scrambled);
        break;
    case TPlayEvent::Moved:
        // Also a hint whose answer came while the move ran: it goes on from the board as it is.
        if (FHelp != THelp::None)
            ContinueHelp();
        break;
    case TPlayEvent::Won:
        FHelp = THelp::None;
        break;
    case TPlayEvent::Stopped:
        Reset();
        break;
    case TPlayEvent::Resized:
        break;
    }
}
