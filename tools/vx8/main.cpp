#include "Commands.h"
#include "PackInputs.h"

#include <cstddef>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const UsageText
    = "usage: vx8 COMMAND ARGUMENTS\n"
      "\n"
      "  vx8 pack [--stats] [--palette LIBRARY.vx8|PALETTE.png [--dither]] OUT.vx8 INPUT ...\n"
      "      build a library from PNGs. An INPUT is IMAGE.png, named after its file without\n"
      "      the extension (at most 8 characters), NAME=IMAGE.png, or @LIST, a file of inputs\n"
      "      one a line (as unpack writes). Without --palette the PNGs must be indexed with\n"
      "      one palette. With it, the library gets that palette and grey, RGB and other\n"
      "      pictures are mapped onto it: each pixel takes the nearest colour in CIE Lab,\n"
      "      pixels less than half opaque the transparent index; --dither spreads the error.\n"
      "      Entries 0 and 255 count as black and white, which the game shows there.\n"
      "      A picture whose colours move by more than Delta E 10 on average is warned about.\n"
      "      --stats compares each stored image with one coding alone and with a PNG, and\n"
      "      gives each mapped picture's mean and largest Delta E.\n"
      "  vx8 unpack LIBRARY DIR\n"
      "      write every image as DIR/NAME.png with the library's palette, and DIR/pack.list\n"
      "      naming them in library order: pack OUT.vx8 @DIR/pack.list gives the library back\n"
      "  vx8 list LIBRARY\n"
      "      one line per image in file order: name, width, height, segments, state and\n"
      "      the transparent index or -\n"
      "  vx8 export LIBRARY NAME OUT.png|OUT.raw\n"
      "      write one image as an indexed PNG with the library's palette, or as raw\n"
      "      palette indices (width x height bytes, top row first)\n"
      "  vx8 check LIBRARY\n"
      "      open and decode every image and report each problem; exit status 1 if any\n"
      "  vx8 sheet LIBRARY OUT.png\n"
      "      draw every image at twice its size with its name, in the display's colours\n"
      "  vx8 --help\n"
      "      show this text\n";

struct TCommand {
    const char* Name;
    int (*Run)(const std::vector<std::string>&, std::ostream&);
    size_t MinArgs;
    size_t MaxArgs;
};

const TCommand Commands[] = {
    {"pack", RunPack, 2, SIZE_MAX},
    {"list", RunList, 1, 1},
    {"export", RunExport, 3, 3},
    {"check", RunCheck, 1, 1},
    {"sheet", RunSheet, 2, 2},
    {"unpack", RunUnpack, 2, 2},
};

const TCommand* FindCommand(const std::string& name)
{
    for (const TCommand& command : Commands) {
        if (name == command.Name) {
            return &command;
        }
    }
    return nullptr;
}

// The arguments the command counts: pack's options are not; a word that looks like an option
// but is none makes the count wrong.
size_t CountedArgs(const TCommand& command, const std::vector<std::string>& args)
{
    if (std::string(command.Name) != "pack")
        return args.size();
    const std::optional<size_t> options = CountPackOptions(args);
    return options ? args.size() - *options : 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
        std::cout << UsageText;
        return 0;
    }
    const TCommand* command = words.empty() ? nullptr : FindCommand(words[0]);
    std::vector<std::string> args;
    if (command) {
        args.assign(words.begin() + 1, words.end());
    }
    size_t counted = command ? CountedArgs(*command, args) : 0;
    if (!command || counted < command->MinArgs || counted > command->MaxArgs) {
        std::cerr << UsageText;
        return 2;
    }
    try {
        return command->Run(args, std::cout);
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "vx8: " << e.what() << "\n";
        return 1;
    }
}
