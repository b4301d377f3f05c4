// Feeds arbitrary bytes to the library reader as a library file: open it, open every image,
// take its surface, draw it onto a blank surface and display it onto a device context. Every
// failure must be one of the program's own exceptions; anything else is a finding.
#include "MemoryFile.h"

#include "common/KelException.h"
#include "raster/DeviceContext.h"
#include "surface/PBMInfo.h"
#include "vx8/VX8Library.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int BoardSize = 208;

void ExerciseImage(
    TVX8Library& library, const std::string& name, TVX8ImageData& board, TDeviceContext& dc)
{
    TImageNode* node = library.OpenImage(name);
    TVX8ImageData* surface = library.GetImageData(node);
    if (surface != nullptr) {
        board.Draw({3, -2}, *surface, surface->Bounds());
        board.Draw({0, 0}, *surface, {-4, -4, 50, 50});
        surface->Display(dc, {1, 1}, surface->Bounds());
    }
    library.DrawImage(dc, -1, 2, node);
    library.ReleaseImage(node);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitPBMInfo();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const TMemoryFile file({data, size});
    if (!file.Valid())
        return 0;
    TVX8Library library;
    try {
        library.Open(file.Path(), true);
    } catch (const KelException&) {
        return 0;
    }
    TPixelBuffer pixels(BoardSize, BoardSize);
    TDeviceContext dc(pixels);
    dc.SelectPalette(library.GetHPal(), false);
    TImageNode* boardNode = library.CreateImage("_BOARD_", BoardSize, BoardSize);
    TVX8ImageData* board = library.GetImageData(boardNode);
    if (board == nullptr)
        __builtin_trap();

    std::vector<std::string> names;
    for (const auto& entry : library.ImageDirectory())
        names.push_back(entry.first);
    for (const std::string& name : names) {
        // Opening the board's own name would hand out the blank board and free it on release.
        if (name == "_board_")
            continue;
        try {
            ExerciseImage(library, name, *board, dc);
        } catch (const KelException&) {
        }
    }
    board->FlushDamage(dc, {0, 0});
    library.ReleaseImage(boardNode);
    return 0;
}
