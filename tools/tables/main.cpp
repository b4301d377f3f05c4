// Builds the solver's slowest tables and writes them into one file, read by the game in place of
// building them: solver-tables OUT.
#include "common/KelFileReplace.h"
#include "solver/TableFile.h"

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: solver-tables OUT\n");
        return 2;
    }
    const std::vector<TTableSection>& sections = TableSections();
    std::vector<std::vector<uint8_t>> contents;
    for (const TTableSection& section : sections) {
        contents.push_back(section.Build());
        if (contents.back().size() != section.Size) {
            std::fprintf(stderr, "solver-tables: the %s table has %zu bytes, not %u\n",
                section.Name.c_str(), contents.back().size(), section.Size);
            return 1;
        }
    }
    const int error = ReplaceFileContents(argv[1], TableFileBytes(sections, contents), 0644);
    if (error != 0) {
        std::fprintf(stderr, "solver-tables: %s: %s\n", argv[1], std::strerror(error));
        return 1;
    }
    return 0;
}
