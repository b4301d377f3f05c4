#include "art/ArtMockup.h"

#include "art/ArtColours.h"
#include "art/ArtNoise.h"
#include "encoder/VX8Encoder.h"
#include "play/WardenPlay.h"
#include "surface/PBMInfo.h"

#include <unistd.h>

#include <atomic>

namespace {

constexpr int32_t PlayX = 37, PlayY = 104, PreviewX = 273, PreviewY = 104;

TPuzzleBoard ToPuzzle(const TMockBoard& target, const TMockBoard& current)
{
    TPuzzleBoard puzzle;
    puzzle.SetCols(target.Cols);
    puzzle.SetRows(target.Rows);
    for (int32_t c = 0; c < target.Cols; ++c)
        for (int32_t r = 0; r < target.Rows; ++r) {
            puzzle.Target.Cell(c + 1, r + 1).Arms = target.At(c, r);
            puzzle.Current.Cell(c + 1, r + 1).Arms = current.At(c, r);
        }
    return puzzle;
}

TIndexedPicture PictureOf(TVX8ImageData& surface)
{
    TIndexedPicture picture {"", surface.Width, surface.Height, false, {}};
    for (int32_t y = 0; y < surface.Height; ++y)
        for (int32_t x = 0; x < surface.Width; ++x) {
            picture.Pixels.push_back(*surface.StartLine(x, y));
            surface.UnlockSegment(x, y);
        }
    return picture;
}

void DrawButton(TIndexedCanvas& canvas, const TArtLibrary& library, const char* name, int32_t x,
    int32_t y, int32_t face)
{
    const TIndexedPicture& strip = library.Picture(name);
    canvas.Draw(strip, 0, 28 * face, strip.Width, 28, x, y);
}

} // namespace

TIndexedCanvas::TIndexedCanvas(int32_t width, int32_t height)
    : FPicture {
        "", width, height, false, std::vector<uint8_t>(static_cast<std::size_t>(width * height))}
{
}

void TIndexedCanvas::Draw(const TIndexedPicture& source, int32_t srcX, int32_t srcY, int32_t width,
    int32_t height, int32_t x, int32_t y)
{
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t col = 0; col < width; ++col) {
            const int32_t dx = x + col;
            const int32_t dy = y + row;
            if (dx < 0 || dy < 0 || dx >= FPicture.Width || dy >= FPicture.Height)
                continue;
            const uint8_t index = source.At(srcX + col, srcY + row);
            if (source.Transparent && index == TransparentKeySlot)
                continue;
            FPicture.Pixels[static_cast<std::size_t>(dy * FPicture.Width + dx)] = index;
        }
    }
}

void TIndexedCanvas::DrawWhole(const TIndexedPicture& source, int32_t x, int32_t y)
{
    Draw(source, 0, 0, source.Width, source.Height, x, y);
}

void TIndexedCanvas::HorzLine(int32_t x, int32_t y, int32_t length, uint8_t index)
{
    for (int32_t i = 0; i < length; ++i) {
        if (x + i >= 0 && x + i < FPicture.Width && y >= 0 && y < FPicture.Height)
            FPicture.Pixels[static_cast<std::size_t>(y * FPicture.Width + x + i)] = index;
    }
}

void TIndexedCanvas::VertLine(int32_t x, int32_t y, int32_t length, uint8_t index)
{
    for (int32_t i = 0; i < length; ++i) {
        if (x >= 0 && x < FPicture.Width && y + i >= 0 && y + i < FPicture.Height)
            FPicture.Pixels[static_cast<std::size_t>((y + i) * FPicture.Width + x)] = index;
    }
}

void TIndexedCanvas::PaintTiles(const TIndexedPicture& tile, int32_t wx, int32_t wy)
{
    for (int32_t y = -(wy % tile.Height); y < FPicture.Height; y += tile.Height) {
        for (int32_t x = -(wx % tile.Width); x < FPicture.Width; x += tile.Width)
            DrawWhole(tile, x, y);
    }
}

TMockBoard SampleBoard(int32_t cols, int32_t rows, uint32_t seed)
{
    TMockBoard board;
    board.Cols = cols;
    board.Rows = rows;
    // Links to the east, south-east, south and south-west neighbours, each with its own chance.
    const int32_t dx[] = {1, 1, 0, -1};
    const int32_t dy[] = {0, 1, 1, 1};
    const int32_t arm[] = {2, 3, 4, 5};
    const double chance[] = {0.55, 0.3, 0.55, 0.3};
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            for (int32_t k = 0; k < 4; ++k) {
                const int32_t nc = c + dx[k];
                const int32_t nr = r + dy[k];
                if (nc < 0 || nc >= cols || nr >= rows)
                    continue;
                if (HashUnit(seed, r * 8 + c, k) >= chance[k])
                    continue;
                board.At(c, r) |= static_cast<uint8_t>(1u << arm[k]);
                board.At(nc, nr) |= static_cast<uint8_t>(1u << ((arm[k] + 4) % 8));
            }
        }
    }
    return board;
}

TMockBoard FullBoard(int32_t cols, int32_t rows)
{
    TMockBoard board;
    board.Cols = cols;
    board.Rows = rows;
    const int32_t dx[] = {0, 1, 1, 1, 0, -1, -1, -1};
    const int32_t dy[] = {-1, -1, 0, 1, 1, 1, 0, -1};
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            for (int32_t k = 0; k < 8; ++k) {
                const int32_t nc = c + dx[k];
                const int32_t nr = r + dy[k];
                if (nc >= 0 && nc < cols && nr >= 0 && nr < rows)
                    board.At(c, r) |= static_cast<uint8_t>(1u << k);
            }
        }
    }
    return board;
}

TMockBoard RotateColumn(const TMockBoard& board, int32_t col, int32_t steps)
{
    TMockBoard turned = board;
    for (int32_t r = 0; r < board.Rows; ++r)
        turned.At(col, (r + steps) % board.Rows) = board.At(col, r);
    return turned;
}

// The library, its pictures for the boards and the painter, in the order they are let go.
struct TMockup::TOpened {
    TVX8Library Library;
    std::unique_ptr<TGameImages> Images;
    TImageHold Tile;
    std::unique_ptr<TBoardPainter> Painter;
};

TMockup::TMockup(const TArtLibrary& library)
    : FArt(library)
{
    static std::atomic<int32_t> made = 0;
    FFile = std::filesystem::temp_directory_path()
        / ("pathwarden-mockup-" + std::to_string(getpid()) + "-" + std::to_string(++made) + ".vx8");
    WriteLibraryFile(FFile.string(), ToFilePalette(library.Palette), ToSourceImages(library));
    InitPBMInfo();
    FOpened = std::make_unique<TOpened>();
    FOpened->Library.Open(FFile.string(), true);
    FOpened->Images = std::make_unique<TGameImages>(FOpened->Library);
    FOpened->Tile = TImageHold::Open(FOpened->Library, "tile");
    TVX8ImageData& tile = *FOpened->Tile.Surface();
    FOpened->Painter = std::make_unique<TBoardPainter>(
        *FOpened->Images, [&tile](TVX8ImageData& surface, TPoint p) {
            for (int32_t y = -(p.Y % tile.Height); y < surface.Height; y += tile.Height)
                for (int32_t x = -(p.X % tile.Width); x < surface.Width; x += tile.Width)
                    surface.Draw({x, y}, tile, tile.Bounds());
        });
}

TMockup::~TMockup()
{
    FOpened.reset();
    std::error_code ignored;
    std::filesystem::remove(FFile, ignored);
}

TIndexedPicture TMockup::Board(const TMockBoard& board, int32_t mode)
{
    TVX8ImageData& surface = *FOpened->Images->PlayBoard;
    FOpened->Painter->DrawBoard(surface, ToPuzzle(board, board).Current, {board.Cols, board.Rows},
        static_cast<TTileMode>(mode), {PlayX, PlayY});
    return PictureOf(surface);
}

TIndexedPicture TMockup::Window(
    TWindowState state, const TMockBoard& target, const TMockBoard& current)
{
    const TArtLibrary& library = FArt;
    TIndexedCanvas window(517, 403);
    window.PaintTiles(library.Picture("tile"), 0, 0);
    window.DrawWhole(library.Picture("warden"), 71, 9);
    window.DrawWhole(library.Picture("colrow"), 87, 329);
    const bool idle = state != TWindowState::Playing;
    DrawButton(window, library, "start", 299, 329, idle ? 0 : 2);
    DrawButton(window, library, "exit", 299, 359, idle ? 2 : 0);
    DrawButton(window, library, "min_btn", 43, 329, idle && target.Cols > 3 ? 0 : 2);
    DrawButton(window, library, "plus_btn", 199, 329, idle && target.Cols < 5 ? 1 : 2);
    DrawButton(window, library, "min_btn", 43, 359, idle && target.Rows > 3 ? 0 : 2);
    DrawButton(window, library, "plus_btn", 199, 359, idle && target.Rows < 5 ? 0 : 2);
    const TPuzzleBoard puzzle = ToPuzzle(target, idle ? target : current);
    const TPlayView view {puzzle, 0, !idle, false, state == TWindowState::Won, false, false,
        idle ? TArrow {} : TArrow {true, 2}, false, std::nullopt};
    FOpened->Painter->RenderBoard(TBoardKind::Play, view, {PlayX, PlayY});
    FOpened->Painter->RenderBoard(TBoardKind::Preview, view, {PreviewX, PreviewY});
    window.DrawWhole(PictureOf(*FOpened->Images->PlayBoard), PlayX, PlayY);
    window.DrawWhole(PictureOf(*FOpened->Images->PreviewBoard), PreviewX, PreviewY);
    return window.Picture();
}
