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
}

void TWardenPlay::Start()
{
    if (!Game.Start())
        return;
    FScreen.EnableControls(false);
    RenderBoards();
    ShowBoards();
    StartScramble();
    FScreen.GameEvent(TPlayEvent::Started);
}

void TWardenPlay::Stop()
{
    Game.Stop();
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
    FScreen.EnableControls(true);
    RenderBoards();
    ShowBoards();
}

void TWardenPlay::NewPicture()
{
    if (!Game.NewPicture())
        return;
    RenderBoard(TBoardKind::Play);
    ShowBoard(TBoardKind::Play);
}

void TWardenPlay::SetSize(int32_t cols, int32_t rows)
{
    Game.Board.SetCols(cols);
    Game.Board.SetRows(rows);
    FScreen.EnableControls(true);
}

void TWardenPlay::BoardMouseDown(int32_t x, int32_t y)
{
    if (!Game.AcceptsArrows())
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
    return Game.AcceptsArrows() && TBoardLayout::Of(Game.Board).ArrowAt(x, y).has_value();
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
    StartMove();
}

bool TWardenPlay::ReadyForMove() const
{
    return Game.ReadyForMove();
}

bool TWardenPlay::Undo()
{
    if (!Game.Undo())
        return false;
    BeginSlide();
    return true;
}

bool TWardenPlay::Redo()
{
    if (!Game.Redo())
        return false;
    BeginSlide();
    return true;
}

// Released from the start, the move ends at its fourth tick and never repeats.
bool TWardenPlay::PlayMove(TArrow arrow)
{
    if (!Game.ReadyForMove() || !Game.PressArrow(arrow.IsColumn, arrow.Index))
        return false;
    Game.ReleaseArrow();
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
    BeginSlide();
}

// The first move of a held arrow draws it pressed; its repeats find it drawn so.
void TWardenPlay::BeginSlide()
{
    Painter.DrawArrow(Game, Game.ArrowIsColumn(), Game.ArrowIndex());
    DrawMovedLine();
    FAnimated = FScreen.AnimationsEnabled();
    FScreen.StartGameTimer(MoveInterval);
}

void TWardenPlay::TimerTick()
{
    if (Game.TimerMode() == TimerScramble) {
        const bool stepping = Game.Playing() && Game.ScrambleCount() > 0;
        const bool more = Game.ScrambleStep();
        if (stepping)
            DrawWholeBoard();
        if (!more) {
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
