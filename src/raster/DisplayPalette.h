#pragma once

#include <array>
#include <cstdint>

// One entry of a display palette.
struct TPaletteEntry {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    uint8_t Flags = 0;
    friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

// Flag of an entry that must keep its own colour instead of matching an existing one.
constexpr uint8_t PaletteNoCollapse = 4;

// A target pixel: 0x00RRGGBB.
using TColour = uint32_t;

constexpr TColour MakeColour(uint8_t red, uint8_t green, uint8_t blue)
{
    return (TColour {red} << 16) | (TColour {green} << 8) | TColour {blue};
}

// A logical palette of 256 entries that a device context maps palette indices through. The
// displays here are not palettised, so selecting and realising one changes no system colours.
class TDisplayPalette {
public:
    std::array<TPaletteEntry, 256> Entries {};

    TColour ColourOf(uint8_t index) const
    {
        const TPaletteEntry& e = Entries[index];
        return MakeColour(e.Red, e.Green, e.Blue);
    }

    // The palette a device context holds before another is selected: a grey ramp, index i
    // showing (i, i, i).
    static const TDisplayPalette& Default();
};
