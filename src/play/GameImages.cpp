#include "play/GameImages.h"

#include "play/BoardLayout.h"

namespace {

constexpr std::array<std::string_view, 8> ArrowNames
    = {"arru_up", "arru_dn", "arrd_up", "arrd_dn", "arrl_up", "arrl_dn", "arrr_up", "arrr_dn"};
constexpr std::array<std::string_view, 3> CellNames = {"empty", "roads", "conndiag"};

} // namespace

TGameImages::TGameImages(TVX8Library& library)
    : Library(library)
{
    // Each group is opened whole before its surfaces are asked for.
    for (std::size_t i = 0; i < ArrowNames.size(); ++i)
        FArrowNodes[i] = TImageHold::Open(library, ArrowNames[i]);
    for (std::size_t i = 0; i < ArrowNames.size(); ++i)
        Arrows[i] = FArrowNodes[i].Surface();
    for (std::size_t i = 0; i < CellNames.size(); ++i)
        FCellNodes[i] = TImageHold::Open(library, CellNames[i]);
    Empty = FCellNodes[0].Surface();
    Roads = FCellNodes[1].Surface();
    ConnDiag = FCellNodes[2].Surface();
    FBoardNodes[0] = TImageHold::Create(library, "_BOARD_", BoardSurfaceSize, BoardSurfaceSize);
    FBoardNodes[1] = TImageHold::Create(library, "_BBOARD_", BoardSurfaceSize, BoardSurfaceSize);
    PlayBoard = FBoardNodes[0].Surface();
    PreviewBoard = FBoardNodes[1].Surface();
}
