#pragma once

#include "art/ArtLibrary.h"

#include <string>

// Writes PNG previews of the library into a folder, for people to look at: every picture at
// twice its size (transparent pixels as a checkerboard), a contact sheet of them all, and the
// game window in its three states at 1x and 2x.
void WritePreviews(const TArtLibrary& library, const std::string& folder);
