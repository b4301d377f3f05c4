#include "common/KelException.h"
#include "art/ArtLibrary.h"
#include "art/ArtPreview.h"
#include "encoder/VX8Encoder.h"

#include <cstring>
#include <iostream>

// art OUT [--preview FOLDER]: draws every picture of the game and writes the library file OUT;
// with --preview, also writes PNG previews into FOLDER.
int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--preview") == 0)) {
        std::cerr << "usage: art OUT [--preview FOLDER]\n";
        return 2;
    }
    try {
        const TArtLibrary library = BuildArtLibrary();
        WriteLibraryFile(argv[1], ToFilePalette(library.Palette), ToSourceImages(library));
        if (argc == 4)
            WritePreviews(library, argv[3]);
    } catch (const KelException& error) {
        std::cerr << "art: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
