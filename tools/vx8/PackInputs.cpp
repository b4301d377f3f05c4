#include "PackInputs.h"

#include "common/KelException.h"
#include "common/KelStd.h"
#include "vx8/VX8Library.h"

#include <filesystem>
#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t MaxNameLength = 8;
constexpr std::size_t MaxListSize = 1 << 20;

bool EndsWithPng(const std::string& path)
{
    return LowerNameText(fs::path(path).extension().string()) == ".png";
}

// NAME=FILE names the image; a word whose part before '=' could be no name is a file name.
TPackInput ParseInput(const std::string& word)
{
    const std::size_t equals = word.find('=');
    if (equals != std::string::npos && equals > 0 && word.find('/') > equals)
        return {word.substr(0, equals), word.substr(equals + 1)};
    const std::string stem = fs::path(word).stem().string();
    if (stem.empty() || stem.size() > MaxNameLength) {
        throw KelException("pack: the file name of " + Quoted(word)
            + " does not fit the 8 characters of an image name; name the image with "
              "NAME="
            + word);
    }
    return {stem, word};
}

void AddListInputs(const std::string& listPath, std::vector<TPackInput>& inputs)
{
    std::ifstream list(listPath, std::ios::binary);
    if (!list)
        throw KelException("pack: cannot read the list " + Quoted(listPath));
    const fs::path folder = fs::path(listPath).parent_path();
    std::size_t read = 0;
    for (std::string line; std::getline(list, line);) {
        read += line.size() + 1;
        if (read > MaxListSize)
            throw KelException("pack: the list " + Quoted(listPath) + " is larger than 1 MiB");
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        TPackInput input = ParseInput(line);
        input.Path = (folder / input.Path).string();
        inputs.push_back(input);
    }
}

TRgb ColourAt(const TVX8Palette& palette, std::size_t i)
{
    return {palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]};
}

} // namespace

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::optional<std::size_t> CountPackOptions(const std::vector<std::string>& args)
{
    std::size_t i = 0;
    while (i < args.size() && args[i].starts_with("--")) {
        if (args[i] == "--palette" && i + 1 < args.size())
            i += 2;
        else if (args[i] == "--stats" || args[i] == "--dither")
            ++i;
        else
            return std::nullopt;
    }
    return i;
}

TPackOptions ParsePackArguments(const std::vector<std::string>& args)
{
    TPackOptions options;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        if (args[i] == "--palette")
            options.PalettePath = args[++i];
        options.Stats = options.Stats || args[i] == "--stats";
        options.Dither = options.Dither || args[i] == "--dither";
    }
    options.OutPath = args.at(i);
    for (++i; i < args.size(); ++i) {
        if (args[i].starts_with("@"))
            AddListInputs(args[i].substr(1), options.Inputs);
        else
            options.Inputs.push_back(ParseInput(args[i]));
    }
    std::map<std::string, std::string> pathOfName;
    for (const TPackInput& input : options.Inputs) {
        if (input.Name.empty() || input.Name.size() > MaxNameLength
            || input.Name.find('\0') != std::string::npos) {
            throw KelException("pack: image name " + Quoted(input.Name) + " of "
                + Quoted(input.Path) + " must have 1 to 8 characters");
        }
        auto [known, added] = pathOfName.emplace(LowerNameText(input.Name), input.Path);
        if (!added) {
            throw KelException("pack: " + Quoted(known->second) + " and " + Quoted(input.Path)
                + " give the same image name " + Quoted(known->first));
        }
    }
    return options;
}

TPaletteSource LoadPaletteSource(const std::string& path)
{
    TPaletteSource source;
    if (EndsWithPng(path)) {
        const TIndexedPicture picture
            = ReadPngPalette(ReadFileBytes(path, std::size_t {256} << 20), path);
        for (std::size_t i = 0; i < 256; ++i) {
            const TRgb colour = i < picture.Palette.size() ? picture.Palette[i] : TRgb {};
            source.FileBytes[4 * i] = colour[2];
            source.FileBytes[4 * i + 1] = colour[1];
            source.FileBytes[4 * i + 2] = colour[0];
        }
        for (std::size_t i = 0; i < picture.Alpha.size() && source.Target.TransparentIndex < 0; ++i)
            if (picture.Alpha[i] == 0)
                source.Target.TransparentIndex = static_cast<int>(i);
    } else {
        TVX8Library library;
        library.Open(path, true);
        source.FileBytes = *library.FilePalette();
        std::map<int, int> uses;
        for (const TVX8RecordEntry& entry : library.Records())
            if (entry.Transparent)
                ++uses[entry.TransparentIndex];
        int most = 0;
        for (auto [index, count] : uses) {
            if (count > most) {
                most = count;
                source.Target.TransparentIndex = index;
            }
        }
    }
    for (std::size_t i = 0; i < 256; ++i)
        source.Target.Colours.push_back(ColourAt(source.FileBytes, i));
    // Pictures are matched and measured against the colours the game shows.
    source.Target.Colours[TVX8Library::BlackEntry] = {0, 0, 0};
    source.Target.Colours[TVX8Library::WhiteEntry] = {255, 255, 255};
    return source;
}
