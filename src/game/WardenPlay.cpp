#include "game/WardenPlay.h"

#include <utility>

namespace {

// The move cycle's ticks: three slide frames, the final picture, then the repeat while held.
constexpr int32_t LastSlideStep = 3;
constexpr int32_t FinalStep = 4;
constexpr int32_t SlideStepPixels = 8;

} // namespace

TWardenPlay::TWardenPlay(
    TRandomSource& random, const TGameImages& images, TTilePainter tiles, TWardenScreen& screen)
    : Game(random)
    , Painter(images, std::move(tiles))
    , FImages(images)
    , FScreen(screen)
{
    Game.Board.SetObserver(this);
}

TWardenPlay::~TWardenPlay()
{
    Game.Board.SetObserver(nullptr);
}

void TWardenPlay::Start()
{
    if (!Game.Start())
        return;
    History.Clear();
    FScreen.EnableControls(false);
    RenderBoards();
    ShowBoards();
    StartScramble();
    FScreen.GameEvent(TPlayEvent::Started);
}

void TWardenPlay::Stop()
{
    Game.Stop();
    History.Clear();
    FScreen.StopGameTimer();
    FScreen.EnableControls(true);
    RenderBoards();
    ShowBoards();
    FScreen.GameEvent(TPlayEvent::Stopped);
}

void TWardenPlay::ColRow(int32_t tag)
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
        return;
    History.Clear();
    FScreen.EnableControls(true);
    RenderBoards();
    ShowBoards();
}

void TWardenPlay::NewPicture()
{
    if (!Game.NewPicture())
        return;
    History.Clear();
    RenderBoard(TBoardKind::Play);
    ShowBoard(TBoardKind::Play);
}

void TWardenPlay::SetSize(int32_t cols, int32_t rows)
{
    Game.Board.SetCols(cols);
    Game.Board.SetRows(rows);
    FScreen.EnableControls(true);
}

bool TWardenPlay::AcceptsArrows() const
{
    return Game.Playing() && Game.ScrambleCount() <= 0;
}

void TWardenPlay::BoardMouseDown(int32_t x, int32_t y)
{
    if (!AcceptsArrows())
        return;
    if (const auto arrow = TBoardLayout::Of(Game.Board).ArrowAt(x, y))
        PressArrow(arrow->IsColumn, arrow->Index);
}

void TWardenPlay::BoardMouseUp()
{
    Game.ReleaseArrow();
}

bool TWardenPlay::ArrowAcceptedAt(int32_t x, int32_t y) const
{
    return AcceptsArrows() && TBoardLayout::Of(Game.Board).ArrowAt(x, y).has_value();
}

void TWardenPlay::KeyPress(char32_t key)
{
    if (const auto arrow = Game.Board.ArrowForKey(key))
        PressArrow(arrow->IsColumn, arrow->Index);
}

void TWardenPlay::KeyUp()
{
    Game.ReleaseArrow();
}

// A press of the active arrow while it is still held is the keyboard's auto-repeat: the held
// arrow repeats by itself every fifth tick, with its slide frames in between. Pressed again
// after a release, it rotates again at once.
void TWardenPlay::PressArrow(bool isColumn, int32_t index)
{
    const bool held = Game.ArrowIndex() != 0 && !Game.Released();
    if (held && Game.ArrowIsColumn() == isColumn && Game.ArrowIndex() == index)
        return;
    if (!Game.PressArrow(isColumn, index))
        return;
    Painter.DrawArrow(Game, isColumn, index);
    StartMove();
}

bool TWardenPlay::ReadyForMove() const
{
    return AcceptsArrows() && Game.ArrowIndex() == 0;
}

bool TWardenPlay::Undo()
{
    return ReadyForMove() && Replay(History.Undo(Game.Board.Cols(), Game.Board.Rows()));
}

bool TWardenPlay::Redo()
{
    return ReadyForMove() && Replay(History.Redo());
}

// The history already holds the rotation that an undo or redo makes.
bool TWardenPlay::Replay(std::optional<TArrow> arrow)
{
    if (!arrow)
        return false;
    FReplaying = true;
    PlayReleased(*arrow);
    FReplaying = false;
    return true;
}

bool TWardenPlay::PlayMove(TArrow arrow)
{
    return ReadyForMove() && PlayReleased(arrow);
}

// Released from the start, the move ends at its fourth tick and never repeats.
bool TWardenPlay::PlayReleased(TArrow arrow)
{
    if (!Game.PressArrow(arrow.IsColumn, arrow.Index))
        return false;
    Game.ReleaseArrow();
    Painter.DrawArrow(Game, arrow.IsColumn, arrow.Index);
    StartMove();
    return true;
}

void TWardenPlay::StartScramble()
{
    FScreen.StartGameTimer(ScrambleInterval);
}

void TWardenPlay::StartMove()
{
    Game.StartMove();
    if (!FReplaying)
        History.Record({Game.ArrowIsColumn(), Game.ArrowIndex()});
    FAnimated = FScreen.AnimationsEnabled();
    FScreen.StartGameTimer(MoveInterval);
}

void TWardenPlay::TimerTick()
{
    if (Game.TimerMode() == TimerScramble) {
        if (!Game.ScrambleStep()) {
            FScreen.StopGameTimer();
            if (Game.Playing())
                FScreen.GameEvent(TPlayEvent::Scrambled);
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
    Painter.ComposeScrollFrame(*frame, Game, SlideStepPixels * (FinalStep - Game.Step()));
    FScreen.ShowBoard(TBoardKind::Play, frame);
}

void TWardenPlay::FinishMove()
{
    const TArrow finished {Game.ArrowIsColumn(), Game.ArrowIndex()};
    Game.EndMove();
    if (!Game.Playing())
        return;
    Painter.DrawArrow(Game, finished.IsColumn, finished.Index);
    ShowBoard(TBoardKind::Play);
    if (!Game.MoveFinished()) {
        FScreen.GameEvent(TPlayEvent::Moved);
        return;
    }
    FScreen.EnableControls(true);
    RenderBoard(TBoardKind::Play);
    RenderBoard(TBoardKind::Preview);
    ShowBoard(TBoardKind::Play);
    ShowBoard(TBoardKind::Preview);
    FScreen.GameEvent(TPlayEvent::Won);
}

void TWardenPlay::RenderBoard(TBoardKind kind)
{
    Painter.RenderBoard(kind, Game, FScreen.BoardPosition(kind));
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

// During a scramble the whole board is drawn once per step instead.
void TWardenPlay::LineMoved(bool isColumn, int32_t line)
{
    if (Game.ScrambleCount() > 0)
        return;
    const TBoardLayout layout = TBoardLayout::Of(Game.Board);
    if (isColumn)
        Painter.DrawTiles(Game.Board.Current, layout, FImages.PlayBoard, line, 1, line, layout.Rows,
            TTileMode::Grid);
    else
        Painter.DrawTiles(Game.Board.Current, layout, FImages.PlayBoard, 1, line, layout.Cols, line,
            TTileMode::Grid);
}

void TWardenPlay::BoardScrambled()
{
    const TBoardLayout layout = TBoardLayout::Of(Game.Board);
    Painter.DrawTiles(Game.Board.Current, layout, FImages.PlayBoard, 1, 1, layout.Cols, layout.Rows,
        TTileMode::Grid);
    ShowBoard(TBoardKind::Play);
}
