#pragma once

#include "art/ArtImage.h"
#include "art/ArtPalette.h"
#include "encoder/VX8Encoder.h"

#include <vector>

// Every picture of the game mapped onto the shared palette, in the order they are stored.
struct TArtLibrary {
    TArtPalette Palette {};
    std::vector<TIndexedPicture> Pictures;
    const TIndexedPicture& Picture(const std::string& name) const;
};

// Draws every picture of the game, full colour, before quantisation.
std::vector<TArtPicture> DrawAllPictures();
// Draws, builds the palette and maps every picture onto it.
TArtLibrary BuildArtLibrary();

TVX8Palette ToFilePalette(const TArtPalette& palette);
std::vector<TVX8SourceImage> ToSourceImages(const TArtLibrary& library);
