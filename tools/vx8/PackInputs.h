#pragma once

#include "PaletteMapping.h"

#include "encoder/VX8Encoder.h"

#include <optional>
#include <string>
#include <vector>

struct TPackInput {
    std::string Name;
    std::string Path;
};

struct TPackOptions {
    bool Stats = false;
    bool Dither = false;
    std::string PalettePath; // empty without --palette
    std::string OutPath;
    std::vector<TPackInput> Inputs;
};

// How many of pack's leading words are options (--stats, --dither, --palette FILE); none when a
// leading word starting with "--" is no option of pack's.
std::optional<std::size_t> CountPackOptions(const std::vector<std::string>& args);

// The options, the output and the inputs in order. An input is IMAGE.png, named after the file
// without its extension, NAME=IMAGE.png, or @LIST, a file whose lines are inputs relative to its
// folder. Raises KelException for a name that does not fit and for two inputs of one name.
TPackOptions ParsePackArguments(const std::vector<std::string>& args);

// The palette of --palette: a library's (its bytes kept exactly) or an indexed PNG's.
struct TPaletteSource {
    TVX8Palette FileBytes {};
    TTargetPalette Target; // as the game shows it: black at 0 and white at 255
};

// A library's transparent index is the one its transparent images use most; a PNG's is its first
// fully transparent entry.
TPaletteSource LoadPaletteSource(const std::string& path);

std::string Quoted(const std::string& text);
