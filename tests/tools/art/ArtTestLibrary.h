#pragma once

#include "art/ArtLibrary.h"

// The library is drawn once per test program: drawing takes about half a second.
inline const TArtLibrary& SharedLibrary()
{
    static const TArtLibrary library = BuildArtLibrary();
    return library;
}
