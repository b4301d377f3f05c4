// Drawing and display of a 208 x 208 board surface, the game's everyday work.
#include "raster/DeviceContext.h"
#include "surface/PBMInfo.h"
#include "vx8/VX8Library.h"

#include <benchmark/benchmark.h>

namespace {

constexpr uint16_t BoardSize = 208;

// A library with no file: created images only, as the game makes its boards.
struct TBoardFixture {
    TVX8Library Library;
    TVX8ImageData* Board;
    TVX8ImageData* Piece;

    explicit TBoardFixture(bool transparentPiece)
    {
        InitPBMInfo();
        Board = Library.GetImageData(Library.CreateImage("_BOARD_", BoardSize, BoardSize));
        TImageNode* pieceNode = Library.CreateImage("piece", BoardSize, BoardSize);
        Piece = Library.GetImageData(pieceNode);
        for (int y = 0; y < BoardSize; ++y)
            Piece->FillRect({0, y, BoardSize, y + 1}, static_cast<uint8_t>(y % 7 == 0 ? 0 : y));
        Piece->Transparent = transparentPiece;
        Piece->TransparentIndex = 0;
        Piece->ClearDamage();
    }
};

void BM_DrawBoard(benchmark::State& state)
{
    TBoardFixture f(state.range(0) != 0);
    for (auto _ : state) {
        f.Board->Draw({0, 0}, *f.Piece, f.Piece->Bounds());
        f.Board->ClearDamage();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BoardSize * BoardSize);
    state.SetLabel(state.range(0) != 0 ? "transparent" : "opaque");
}

void BM_DisplayBoard(benchmark::State& state)
{
    TBoardFixture f(false);
    TDisplayPalette palette;
    TPixelBuffer pixels(BoardSize, BoardSize);
    TDeviceContext dc(pixels);
    dc.SelectPalette(&palette, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(f.Board->Display(dc, {0, 0}, f.Board->Bounds()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BoardSize * BoardSize);
}

} // namespace

BENCHMARK(BM_DrawBoard)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DisplayBoard)->Unit(benchmark::kMicrosecond);
