#pragma once

#include "common/KelException.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Road arms of a cell, one bit per compass direction, clockwise from north. The bit number of a
// direction is also the colour slot of its arm.
constexpr uint8_t ArmNorth = 0x01;
constexpr uint8_t ArmNorthEast = 0x02;
constexpr uint8_t ArmEast = 0x04;
constexpr uint8_t ArmSouthEast = 0x08;
constexpr uint8_t ArmSouth = 0x10;
constexpr uint8_t ArmSouthWest = 0x20;
constexpr uint8_t ArmWest = 0x40;
constexpr uint8_t ArmNorthWest = 0x80;

// Axis k is a pair of opposite arms: 0 north/south, 1 north-east/south-west, 2 east/west,
// 3 south-east/north-west.
constexpr uint8_t AxisMask(int32_t axis)
{
    return static_cast<uint8_t>(0x11u << axis);
}

constexpr int32_t ArmSlots = 8;
constexpr int32_t EndCapSlot = 8;
constexpr int32_t ColourSlots = 9;
// Boards are stored at their largest size whatever the number of columns and rows in play.
constexpr int32_t StorageLines = 5;

// One road tile: its arms, and a colour for each arm plus one for the end cap of a single arm.
struct TRoadCell {
    uint8_t Arms = 0;
    std::array<uint8_t, ColourSlots> ArmColours {};
    friend bool operator==(const TRoadCell&, const TRoadCell&) = default;
};

// The cells of one board, columns and rows counted from 1.
class TRoadBoard {
public:
    TRoadCell& Cell(int32_t col, int32_t row) { return FCells[Index(col, row)]; }
    const TRoadCell& Cell(int32_t col, int32_t row) const { return FCells[Index(col, row)]; }
    friend bool operator==(const TRoadBoard&, const TRoadBoard&) = default;

private:
    static std::size_t Index(int32_t col, int32_t row)
    {
        if (col < 1 || col > StorageLines || row < 1 || row > StorageLines)
            throw KelException("Cell: column or row outside the board");
        return static_cast<std::size_t>((col - 1) * StorageLines + (row - 1));
    }

    std::array<TRoadCell, StorageLines * StorageLines> FCells {};
};
