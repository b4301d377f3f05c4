#include "art/ArtMockup.h"

#include "art/ArtColours.h"
#include "art/ArtNoise.h"

#include <bit>

namespace {

constexpr int32_t BoardSurface = 208;
constexpr int32_t PlayX = 37, PlayY = 104, PreviewX = 273, PreviewY = 104;

int32_t Origin(int32_t lines)
{
    return 25 + 16 * (5 - lines);
}

void DrawTiles(
    TIndexedCanvas& canvas, const TArtLibrary& library, const TMockBoard& board, int32_t mode)
{
    const TIndexedPicture& empty = library.Picture("empty");
    const TIndexedPicture& roads = library.Picture("roads");
    const TIndexedPicture& corners = library.Picture("conndiag");
    const int32_t ox = Origin(board.Cols);
    const int32_t oy = Origin(board.Rows);
    for (int32_t c = 0; c < board.Cols; ++c) {
        for (int32_t r = 0; r < board.Rows; ++r)
            canvas.DrawWhole(empty, ox + 32 * c, oy + 32 * r);
    }
    const std::vector<int32_t> layers
        = mode == 2 ? std::vector<int32_t> {2, 1, 0} : std::vector<int32_t> {0};
    for (int32_t layer : layers) {
        auto cellX = [&](int32_t c) { return ox + 32 * c + (layer == 1 ? 1 : 0); };
        auto cellY = [&](int32_t r) { return oy + 32 * r + (layer == 2 ? 1 : 0); };
        for (int32_t c = 0; c < board.Cols; ++c) {
            for (int32_t r = 0; r < board.Rows; ++r) {
                const uint8_t arms = board.At(c, r);
                if (std::popcount(arms) == 1)
                    canvas.Draw(roads, 32 * layer, 32 * 8, 32, 32, cellX(c), cellY(r));
                for (int32_t k = 0; k < 8; ++k) {
                    if ((arms >> k) & 1)
                        canvas.Draw(roads, 32 * layer, 32 * k, 32, 32, cellX(c), cellY(r));
                }
            }
        }
        if (mode == 0)
            continue;
        for (int32_t c = 0; c < board.Cols; ++c) {
            for (int32_t r = 0; r < board.Rows; ++r) {
                const int32_t x = cellX(c);
                const int32_t y = cellY(r);
                if (r > 0) {
                    if (board.At(c, r - 1) & 0x08)
                        canvas.Draw(corners, 7 * layer, 7, 7, 7, x + 28, y - 4);
                    if (board.At(c, r - 1) & 0x20)
                        canvas.Draw(corners, 7 * layer, 0, 7, 7, x - 4, y - 4);
                } else if (board.Rows > 1) {
                    if (board.At(c, 1) & 0x80)
                        canvas.Draw(corners, 7 * layer, 7, 7, 7, x - 4, y + 28);
                    if (board.At(c, 1) & 0x02)
                        canvas.Draw(corners, 7 * layer, 0, 7, 7, x + 28, y + 28);
                }
            }
        }
    }
    if (mode == 0) {
        for (int32_t c = 1; c <= board.Cols; ++c)
            canvas.VertLine(ox + 32 * c - 1, oy, 32 * board.Rows, GridLineSlot);
        for (int32_t r = 1; r <= board.Rows; ++r)
            canvas.HorzLine(ox, oy + 32 * r - 1, 32 * board.Cols, GridLineSlot);
    }
}

void DrawArrows(TIndexedCanvas& canvas, const TArtLibrary& library, const TMockBoard& board,
    int32_t pressedColumn)
{
    const int32_t ox = Origin(board.Cols);
    const int32_t oy = Origin(board.Rows);
    for (int32_t a = 1; a <= 2 * board.Cols; ++a) {
        const bool first = a <= board.Cols;
        const bool pressed = a == pressedColumn;
        const std::string name = std::string(first ? "arru" : "arrd") + (pressed ? "_dn" : "_up");
        const int32_t frame = 20 * (a - 1) - (first ? 0 : 60);
        const int32_t x = ox + 6 + 32 * ((a - 1) % board.Cols);
        const int32_t y = first ? oy - 25 : oy + 32 * board.Rows + 4;
        canvas.Draw(library.Picture(name), 0, frame, 20, 20, x, y);
    }
    for (int32_t a = 1; a <= 2 * board.Rows; ++a) {
        const bool first = a <= board.Rows;
        const std::string name = std::string(first ? "arrl" : "arrr") + "_up";
        const int32_t frame = 20 * (a - 1) - (first ? 0 : 60);
        const int32_t y = oy + 6 + 32 * ((a - 1) % board.Rows);
        const int32_t x = first ? ox - 25 : ox + 32 * board.Cols + 4;
        canvas.Draw(library.Picture(name), 0, frame, 20, 20, x, y);
    }
}

TIndexedCanvas RenderBoard(
    const TArtLibrary& library, const TMockBoard& board, bool play, TWindowState state)
{
    TIndexedCanvas canvas(BoardSurface, BoardSurface);
    canvas.PaintTiles(library.Picture("tile"), play ? PlayX : PreviewX, play ? PlayY : PreviewY);
    const bool playing = state == TWindowState::Playing;
    const int32_t ox = Origin(board.Cols);
    const int32_t oy = Origin(board.Rows);
    if (playing || play) {
        canvas.HorzLine(ox - 1, oy - 1, 32 * board.Cols, GridLineSlot);
        canvas.VertLine(ox - 1, oy - 1, 32 * board.Rows, GridLineSlot);
    }
    const int32_t mode = playing ? (play ? 0 : 1) : (play ? 2 : 1);
    if (!play && !playing) {
        canvas.DrawWhole(
            library.Picture(state == TWindowState::Won ? "welldone" : "clicksr"), 1, 1);
        return canvas;
    }
    if (mode != 0) {
        canvas.HorzLine(ox, oy + 32 * board.Rows, 32 * board.Cols, EdgeLineSlot);
        canvas.VertLine(ox + 32 * board.Cols, oy, 32 * board.Rows, EdgeLineSlot);
    }
    DrawTiles(canvas, library, board, mode);
    if (play && playing)
        DrawArrows(canvas, library, board, 2);
    return canvas;
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

TIndexedPicture ComposeBoard(const TArtLibrary& library, const TMockBoard& board, int32_t mode)
{
    TIndexedCanvas canvas(BoardSurface, BoardSurface);
    canvas.PaintTiles(library.Picture("tile"), PlayX, PlayY);
    const int32_t ox = Origin(board.Cols);
    const int32_t oy = Origin(board.Rows);
    canvas.HorzLine(ox - 1, oy - 1, 32 * board.Cols, GridLineSlot);
    canvas.VertLine(ox - 1, oy - 1, 32 * board.Rows, GridLineSlot);
    if (mode != 0) {
        canvas.HorzLine(ox, oy + 32 * board.Rows, 32 * board.Cols, EdgeLineSlot);
        canvas.VertLine(ox + 32 * board.Cols, oy, 32 * board.Rows, EdgeLineSlot);
    }
    DrawTiles(canvas, library, board, mode);
    return canvas.Picture();
}

TMockBoard RotateColumn(const TMockBoard& board, int32_t col, int32_t steps)
{
    TMockBoard turned = board;
    for (int32_t r = 0; r < board.Rows; ++r)
        turned.At(col, (r + steps) % board.Rows) = board.At(col, r);
    return turned;
}

TIndexedPicture ComposeWindow(const TArtLibrary& library, TWindowState state,
    const TMockBoard& target, const TMockBoard& current)
{
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
    const TMockBoard& shown = state == TWindowState::Playing ? current : target;
    window.DrawWhole(RenderBoard(library, shown, true, state).Picture(), PlayX, PlayY);
    window.DrawWhole(RenderBoard(library, target, false, state).Picture(), PreviewX, PreviewY);
    return window.Picture();
}
