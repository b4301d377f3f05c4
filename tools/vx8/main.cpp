#include "Commands.h"

#include <cstddef>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const UsageText
    = "usage: vx8 COMMAND ARGUMENTS\n"
      "\n"
      "  vx8 pack [--stats] OUT.vx8 IMAGE.png ...\n"
      "      build a library from 8-bit indexed PNGs that share one palette; each image is\n"
      "      named after its file, without the extension, cut to 8 characters. --stats\n"
      "      compares each stored image with the same picture as a PNG at zlib level 9.\n"
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

// The arguments the command counts: pack's --stats is an option, not an argument.
size_t CountedArgs(const TCommand& command, const std::vector<std::string>& args)
{
    bool option = std::string(command.Name) == "pack" && !args.empty() && args[0] == "--stats";
    return args.size() - (option ? 1 : 0);
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
