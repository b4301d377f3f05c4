#include "platform/HandCursors.h"

// The pictures of the program's two hand cursors, 32 x 32 monochrome: 'X' black, 'o' white,
// '.' transparent.

namespace {

constexpr THandCursorPicture PointingHand {12, 5,
    {
        "................................",
        "................................",
        "................................",
        "................................",
        "...........XXXX.................",
        "...........XooX.................",
        "...........XooX.................",
        "...........XooX.................",
        "...........XooX.................",
        "...........XooXXXX..............",
        "...........XooXooXXXX...........",
        "...........XooXooXooXXXX........",
        "...........XooXooXooXooX........",
        "...........XooXooXooXooX........",
        ".........XXXooXooXooXooX........",
        "........XXoXooXooXooXooX........",
        "........XooXooXooXooXooX........",
        "........XooXooXooXooXooX........",
        "........XooXooooooooXooX........",
        "........XooooooooooooooX........",
        "........XooooooooooooooX........",
        "........XXoooooooooooooX........",
        ".........XoooooooooooooX........",
        ".........XXXoooooooooooX........",
        "...........XXoooooooooXX........",
        "............XoooooooooX.........",
        "............XoooooooooX.........",
        "............XoooooooooX.........",
        "............XXXXXXXXXXX.........",
        "................................",
        "................................",
        "................................",
    }};

constexpr THandCursorPicture OpenHand {13, 7,
    {
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "...............XXXXXXX..........",
        "............XXXXooXooX..........",
        "............XooXooXooX..........",
        "............XooXooXooXXXX.......",
        "............XooXooXooXooX.......",
        "............XooXooXooXooX.......",
        "............XooXooXooXooX.......",
        "............XooXooXooXooX.......",
        ".........XXXXooXooXooXooX.......",
        "........XXoXXooXooXooXooX.......",
        "........XooXXooXooXooXooX.......",
        "........XooXXooXooXooXooX.......",
        "........XooooooXooXooXooX.......",
        "........XooooooXooXooXooX.......",
        "........XXoooooooooooXooX.......",
        ".........XooooooooooooooX.......",
        ".........XooooooooooooooX.......",
        ".........XXXXoooooooooooX.......",
        "............XoooooooooooX.......",
        "............XoooooooooooX.......",
        "............XXoooooooooXX.......",
        ".............XoooooooooX........",
        ".............XoooooooooX........",
        ".............XoooooooooX........",
        ".............XXXXXXXXXXX........",
        "................................",
        "................................",
    }};

} // namespace

const THandCursorPicture* FindCursorPicture(int resourceId)
{
    switch (resourceId) {
    case HandPointCursorResource:
        return &PointingHand;
    case HandOpenCursorResource:
        return &OpenHand;
    default:
        return nullptr;
    }
}
