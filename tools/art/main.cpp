#include "art/ArtIcons.h"
#include "art/ArtLibrary.h"
#include "art/ArtPreview.h"
#include "common/KelException.h"
#include "encoder/VX8Encoder.h"

#include <cstring>
#include <iostream>

// art OUT [--preview FOLDER]: draws every picture of the game and writes the library file OUT;
// with --preview, also writes PNG previews into FOLDER.
// art --desktop FOLDER: draws the application icons and the about window's logo into FOLDER.
int main(int argc, char** argv)
{
    const bool desktop = argc == 3 && std::strcmp(argv[1], "--desktop") == 0;
    if (argc != 2 && !desktop && !(argc == 4 && std::strcmp(argv[2], "--preview") == 0)) {
        std::cerr << "usage: art OUT [--preview FOLDER] | art --desktop FOLDER\n";
        return 2;
    }
    try {
        if (desktop) {
            WriteDesktopPictures(argv[2]);
            return 0;
        }
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
