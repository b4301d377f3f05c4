#include "play/WardenPlay.h"

#include <utility>

namespace {

// The move cycle's ticks: three slide frames, the final picture, then the repeat while held.
constexpr int32_t LastSlideStep = 3;
constexpr int32_t FinalStep = 4;
constexpr int32_t SlideStepPixels = 8;

// Clears the play's busy flag however the work in hand ends.
class TBusyGuard {
public:
    explicit TBusyGuard(bool& busy)
        : FBusy(busy)
    {
        FBusy = true;
    }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;
    ~TBusyGuard() { FBusy = false; }

private:
    bool& FBusy;
};

} // namespace

TWardenPlay::TWardenPlay(
    TRandomSource& random, const TGameImages& images, TTilePainter tiles, TWardenScreen& screen)
    : Game(random)
    , Painter(images, std::move(tiles))
    , FImages(images)
    , FScreen(screen)
{
}

bool TWardenPlay::Allowed(const TCommand& command) const
{
    switch (command.Kind) {
    case TCommandKind::PressArrow:
        return Game.ArrowAllowed(command.Arrow);
    case TCommandKind::Start:
    case TCommandKind::SizeStep:
    case TCommandKind::NewPicture:
        return !Game.Playing();
    case TCommandKind::Undo:
        return Game.ReadyForMove() && Game.History().Moves() > 0;
    case TCommandKind::Redo:
        return Game.ReadyForMove() && Game.History().Redoable() > 0;
    case TCommandKind::Hint:
    case TCommandKind::ShowMe:
        return Game.ReadyForMove();
    case TCommandKind::HelpMove:
        return Game.ReadyForMove() && Game.ArrowAllowed(command.Arrow);
    case TCommandKind::ReleaseArrow:
    case TCommandKind::Stop:
    case TCommandKind::Zoom:
    case TCommandKind::Guide:
    case TCommandKind::Close:
        return true;
    }
    return false;
}

bool TWardenPlay::Do(const TCommand& command)
{
    if (FBusy) {
        FWaiting.push_back(command);
        return true;
    }
    // The window's own commands may show a message box, whose loop goes on ticking the game.
    if (command.Kind == TCommandKind::Zoom || command.Kind == TCommandKind::Guide
        || command.Kind == TCommandKind::Close) {
        FScreen.WindowCommand(command);
        return true;
    }
    bool done = false;
    {
        const TBusyGuard busy(FBusy);
        done = Allowed(command) && Execute(command);
    }
    RunPosted();
    return done;
}

void TWardenPlay::Post(const TCommand& command)
{
    FPosted.push_back(command);
    RunPosted();
}

// The player's commands that came during a transition run first, then the listeners' once no
// move is in hand; each is checked when it runs, against the game as it is then.
void TWardenPlay::RunPosted()
{
    while (!FBusy) {
        std::deque<TCommand>* queue = !FWaiting.empty()  ? &FWaiting
            : !FPosted.empty() && Game.ArrowIndex() == 0 ? &FPosted
                                                         : nullptr;
        if (queue == nullptr)
            return;
        const TCommand command = queue->front();
        queue->pop_front();
        const TBusyGuard busy(FBusy);
        if (Allowed(command))
            Execute(command);
    }
}

bool TWardenPlay::Execute(const TCommand& command)
{
    switch (command.Kind) {
    case TCommandKind::PressArrow:
        return Press(command.Arrow);
    case TCommandKind::ReleaseArrow:
        Game.ReleaseArrow();
        return true;
    case TCommandKind::Start:
        return StartGame();
    case TCommandKind::Stop:
        StopGame();
        return true;
    case TCommandKind::SizeStep:
        return SizeStep(command.Value);
    case TCommandKind::NewPicture:
        return NewPuzzle();
    case TCommandKind::Undo:
    case TCommandKind::Redo:
        if (!(command.Kind == TCommandKind::Undo ? Game.Undo() : Game.Redo()))
            return false;
        BeginSlide();
        return true;
    case TCommandKind::Hint:
    case TCommandKind::ShowMe: {
        const TPlayView view = View();
        for (TPlayListener* listener : FListeners)
            listener->Asked(command, view);
        return true;
    }
    case TCommandKind::HelpMove:
        return HelpMove(command.Arrow);
    case TCommandKind::Zoom:
    case TCommandKind::Guide:
    case TCommandKind::Close:
        FScreen.WindowCommand(command);
        return true;
    }
    return false;
}

TPlayView ViewOf(const TWardenGame& game)
{
    return {game.Board, game.History().Moves(), game.Playing(),
        game.Playing() && game.ScrambleCount() > 0, game.Won(), game.Won() && game.NeedNewPuzzle(),
        game.ReadyForMove(), game.Arrow(), false, std::nullopt};
}

TPlayView TWardenPlay::View() const
{
    TPlayView view = ViewOf(Game);
    if (Game.AcceptsArrows())
        view.Scrambled = &Game.History().Origin(Game.Board);
    view.Helped = FCoach.Assisted;
    view.Par = FCoach.Par;
    view.PlayedMs = FClock.Played(Clock());
    return view;
}

// The game's time follows the events, so that every listener reads it as they leave it.
void TWardenPlay::Tell(TPlayEvent event)
{
    switch (event) {
    case TPlayEvent::Started:
    case TPlayEvent::Stopped:
        FClock.Reset();
        break;
    case TPlayEvent::Scrambled:
        FClock.Run(Clock());
        break;
    case TPlayEvent::Won:
        FClock.Halt(Clock());
        break;
    case TPlayEvent::Moved:
    case TPlayEvent::Resized:
    case TPlayEvent::Resumed:
        break;
    }
    const TPlayView view = View();
    for (TPlayListener* listener : FListeners)
        listener->PlayEvent(event, view);
}

void TWardenPlay::PlayerActed()
{
    for (TPlayListener* listener : FListeners)
        listener->PlayerActed();
}

bool TWardenPlay::StartGame()
{
    if (!Game.Start())
        return false;
    FScreen.EnableControls(false);
    RenderBoards();
    ShowBoards();
    StartScramble();
    Tell(TPlayEvent::Started);
    return true;
}

// The coach starts afresh for the kept game, knowing only the help it had.
bool TWardenPlay::Resume(const TKeptGame& kept)
{
    if (FBusy || !Game.Resume(kept.Board, kept.Moves))
        return false;
    {
        const TBusyGuard busy(FBusy);
        FScreen.StopGameTimer();
        FCoach.Reset();
        FCoach.Assisted = kept.Helped;
        FScreen.EnableControls(false);
        RenderBoards();
        ShowBoards();
        FClock.Run(Clock(), kept.PlayedMs);
        Tell(TPlayEvent::Resumed);
    }
    RunPosted();
    return true;
}

void TWardenPlay::Settle()
{
    if (FBusy)
        return;
    const TBusyGuard busy(FBusy);
    while (Game.Playing() && (Game.ScrambleCount() > 0 || Game.ArrowIndex() != 0)) {
        Game.ReleaseArrow();
        // A held arrow past its final picture would turn again at the next tick.
        if (Game.ArrowIndex() != 0 && Game.Step() >= FinalStep)
            FinishMove();
        else
            TimerStep();
    }
    FScreen.StopGameTimer();
}

std::optional<TKeptGame> TWardenPlay::Kept() const
{
    if (!Game.Playing() || Game.ScrambleCount() > 0 || Game.Board.IsSolved())
        return std::nullopt;
    return TKeptGame {
        Game.Board, Game.History().Kept(Game.Board), FCoach.Assisted, FClock.Played(Clock())};
}

void TWardenPlay::StopGame()
{
    Game.Stop();
    FScreen.StopGameTimer();
    FScreen.EnableControls(true);
    RenderBoards();
    ShowBoards();
    Tell(TPlayEvent::Stopped);
}

bool TWardenPlay::SizeStep(int32_t tag)
{
    int32_t cols = Game.Board.Cols();
    int32_t rows = Game.Board.Rows();
    switch (tag) {
    case 1:
        --cols;
        break;
    case 2:
        --rows;
        break;
    case 3:
        ++cols;
        break;
    case 4:
        ++rows;
        break;
    default:
        break;
    }
    if (!Game.SizeChange(cols, rows))
        return false;
    FScreen.EnableControls(true);
    RenderBoards();
    ShowBoards();
    Tell(TPlayEvent::Resized);
    return true;
}

bool TWardenPlay::NewPuzzle()
{
    if (!Game.NewPicture())
        return false;
    RenderBoard(TBoardKind::Play);
    ShowBoard(TBoardKind::Play);
    return true;
}

void TWardenPlay::SetSize(int32_t cols, int32_t rows)
{
    Game.Board.SetCols(cols);
    Game.Board.SetRows(rows);
    FScreen.EnableControls(true);
}

void TWardenPlay::BoardMouseDown(int32_t x, int32_t y)
{
    if (const auto arrow = TBoardLayout::Of(Game.Board).ArrowAt(x, y))
        Do(TCommand::Press(*arrow));
}

bool TWardenPlay::ArrowAcceptedAt(int32_t x, int32_t y) const
{
    return Game.AcceptsArrows() && TBoardLayout::Of(Game.Board).ArrowAt(x, y).has_value();
}

void TWardenPlay::KeyPress(char32_t key)
{
    if (const auto arrow = Game.Board.ArrowForKey(key))
        Do(TCommand::Press(*arrow));
}

// A press of the active arrow while it is still held is the keyboard's auto-repeat: the held
// arrow repeats by itself every fifth tick, with its slide frames in between. Pressed again
// after a release, it rotates again at once.
bool TWardenPlay::Press(TArrow arrow)
{
    const bool held = Game.ArrowIndex() != 0 && !Game.Released();
    if ((held && Game.Arrow() == arrow) || !Game.PressArrow(arrow.IsColumn, arrow.Index))
        return false;
    StartMove();
    return true;
}

// Released from the start, the move ends at its fourth tick and never repeats.
bool TWardenPlay::HelpMove(TArrow arrow)
{
    if (!Game.PressArrow(arrow.IsColumn, arrow.Index))
        return false;
    FCoach.Assisted = true;
    Game.ReleaseArrow();
    StartMove();
    FCoach.MovePlayed(Game.Board);
    return true;
}

void TWardenPlay::StartScramble()
{
    FScreen.StartGameTimer(ScrambleInterval);
}

void TWardenPlay::StartMove()
{
    Game.StartMove();
    BeginSlide();
}

// The first move of a held arrow draws it pressed; its repeats find it drawn so.
void TWardenPlay::BeginSlide()
{
    Painter.DrawArrow(ViewOf(Game), Game.ArrowIsColumn(), Game.ArrowIndex());
    DrawMovedLine();
    FAnimated = FScreen.AnimationsEnabled();
    FScreen.StartGameTimer(MoveInterval);
}

void TWardenPlay::TimerTick()
{
    if (FBusy)
        return;
    {
        const TBusyGuard busy(FBusy);
        TimerStep();
    }
    RunPosted();
}

void TWardenPlay::TimerStep()
{
    if (Game.TimerMode() == TimerScramble) {
        const bool stepping = Game.Playing() && Game.ScrambleCount() > 0;
        const bool more = Game.ScrambleStep();
        if (stepping)
            DrawWholeBoard();
        if (!more) {
            FScreen.StopGameTimer();
            if (Game.Playing())
                Tell(TPlayEvent::Scrambled);
        }
        return;
    }
    if (!Game.Playing() || Game.ArrowIndex() == 0) {
        FScreen.StopGameTimer();
        return;
    }
    const int32_t step = Game.MoveTick();
    if (step <= LastSlideStep) {
        if (FAnimated)
            DrawScrollFrame();
        else if (step == 1)
            ShowBoard(TBoardKind::Play);
    } else if (step == FinalStep) {
        if (Game.Released()) {
            // Stopped first: the end of a move may start the next one (a "show me").
            FScreen.StopGameTimer();
            FinishMove();
        } else {
            ShowBoard(TBoardKind::Play);
        }
    } else {
        StartMove();
    }
}

void TWardenPlay::DrawScrollFrame()
{
    TVX8ImageData* play = FImages.PlayBoard;
    if (play == nullptr)
        return;
    const TImageHold scroll
        = TImageHold::Create(FImages.Library, "_scroll_", play->Width, play->Height);
    TVX8ImageData* frame = scroll.Surface();
    if (frame == nullptr)
        return;
    Painter.ComposeScrollFrame(*frame, ViewOf(Game), SlideStepPixels * (FinalStep - Game.Step()));
    FScreen.ShowBoard(TBoardKind::Play, frame);
}

void TWardenPlay::FinishMove()
{
    const TArrow finished {Game.ArrowIsColumn(), Game.ArrowIndex()};
    Game.EndMove();
    if (!Game.Playing())
        return;
    Painter.DrawArrow(ViewOf(Game), finished.IsColumn, finished.Index);
    ShowBoard(TBoardKind::Play);
    if (!Game.MoveFinished()) {
        Tell(TPlayEvent::Moved);
        return;
    }
    FScreen.EnableControls(true);
    RenderBoard(TBoardKind::Play);
    RenderBoard(TBoardKind::Preview);
    ShowBoard(TBoardKind::Play);
    ShowBoard(TBoardKind::Preview);
    Tell(TPlayEvent::Won);
}

void TWardenPlay::RenderBoard(TBoardKind kind)
{
    Painter.RenderBoard(kind, ViewOf(Game), FScreen.BoardPosition(kind));
}

void TWardenPlay::RenderBoards()
{
    RenderBoard(TBoardKind::Play);
    RenderBoard(TBoardKind::Preview);
}

void TWardenPlay::ShowBoard(TBoardKind kind)
{
    FScreen.ShowBoard(kind, kind == TBoardKind::Play ? FImages.PlayBoard : FImages.PreviewBoard);
}

void TWardenPlay::ShowBoards()
{
    ShowBoard(TBoardKind::Play);
    ShowBoard(TBoardKind::Preview);
}

// The moved line is drawn at once in its new place; the slide's frames shift it back from there.
void TWardenPlay::DrawMovedLine()
{
    const TBoardLayout layout = TBoardLayout::Of(Game.Board);
    const TArrow arrow = Game.Arrow();
    const int32_t lines = arrow.IsColumn ? layout.Cols : layout.Rows;
    const int32_t line = arrow.Index <= lines ? arrow.Index : arrow.Index - lines;
    if (arrow.IsColumn)
        Painter.DrawTiles(Game.Board.Current, layout, FImages.PlayBoard, line, 1, line, layout.Rows,
            TTileMode::Grid);
    else
        Painter.DrawTiles(Game.Board.Current, layout, FImages.PlayBoard, 1, line, layout.Cols, line,
            TTileMode::Grid);
}

void TWardenPlay::DrawWholeBoard()
{
    const TBoardLayout layout = TBoardLayout::Of(Game.Board);
    Painter.DrawTiles(Game.Board.Current, layout, FImages.PlayBoard, 1, 1, layout.Cols, layout.Rows,
        TTileMode::Grid);
    ShowBoard(TBoardKind::Play);
}
