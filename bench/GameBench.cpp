// The game's per-frame work against its 100 ms tick: one slide frame of a 5-cell line, and a
// whole-board redraw in each drawing mode. CPU time per iteration is the figure to read; the
// goal is at most 0.2 ms.
#include "common/Random.h"
#include "play/BoardPainter.h"
#include "play/WardenPlay.h"
#include "surface/PBMInfo.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct TGameFixture {
    TVX8Library Library;
    std::unique_ptr<TGameImages> Images;
    TImageHold Tile;
    TRuntimeRandom Random {1};
    TWardenGame Game {Random};
    std::unique_ptr<TBoardPainter> Painter;
    TPixelBuffer Pixels {BoardSurfaceSize, BoardSurfaceSize};
    TDeviceContext Dc {Pixels};

    TGameFixture()
    {
        InitPBMInfo();
        Library.Open(PW_PROGRAM_DIR "/Warden.vx8", true);
        Images = std::make_unique<TGameImages>(Library);
        Tile = TImageHold::Open(Library, "tile");
        Painter = std::make_unique<TBoardPainter>(*Images, [this](TVX8ImageData& s, TPoint p) {
            TVX8ImageData& t = *Tile.Surface();
            for (int32_t y = -(p.Y % t.Height); y < s.Height; y += t.Height)
                for (int32_t x = -(p.X % t.Width); x < s.Width; x += t.Width)
                    s.Draw({x, y}, t, t.Bounds());
        });
        Game.Board.SetCols(5);
        Game.Board.SetRows(5);
        Game.Board.NewPuzzle(Random);
    }
    // A game past its scramble.
    void Play()
    {
        Game.Start();
        while (Game.ScrambleStep()) { }
    }
};

// Compose the strip over a fresh "_scroll_" copy of the play board, then show it.
void BM_SlideFrame(benchmark::State& state)
{
    TGameFixture f;
    f.Play();
    f.Game.PressArrow(true, 2);
    f.Painter->RenderBoard(TBoardKind::Play, ViewOf(f.Game), {37, 104});
    int32_t offset = 24;
    for (auto _ : state) {
        const TImageHold scroll
            = TImageHold::Create(f.Library, "_scroll_", BoardSurfaceSize, BoardSurfaceSize);
        f.Painter->ComposeScrollFrame(*scroll.Surface(), ViewOf(f.Game), offset);
        ShowSurface(&f.Dc, scroll.Surface(), f.Library.GetHPal());
        offset = offset == 8 ? 24 : offset - 8;
    }
}

// Mode 0: the play board in a game; 1: the preview in a game; 2: the play board between games.
void BM_RedrawBoard(benchmark::State& state)
{
    TGameFixture f;
    const auto mode = state.range(0);
    if (mode != 2)
        f.Play();
    const TBoardKind kind = mode == 1 ? TBoardKind::Preview : TBoardKind::Play;
    TVX8ImageData* surface
        = kind == TBoardKind::Play ? f.Images->PlayBoard : f.Images->PreviewBoard;
    for (auto _ : state) {
        f.Painter->RenderBoard(kind, ViewOf(f.Game), {37, 104});
        ShowSurface(&f.Dc, surface, f.Library.GetHPal());
    }
}

} // namespace

BENCHMARK(BM_SlideFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawBoard)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
