#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

// The sizes of the application icon in the desktop's hicolor theme, which the window takes too.
inline const std::vector<int32_t> AppIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int32_t LogoSize = 98;

// The application icon, a corner of the game's board in a walnut frame, drawn for one size:
// small sizes leave out the details that would only blur.
void DrawAppIcon(cairo_t* cr, int32_t size);
// The maker's logo for the about window: a lark over a field in a gilded badge.
void DrawMakerLogo(cairo_t* cr, int32_t size);

// Writes icons/hicolor/NxN/apps/pathwarden.png for every size and about-logo.png into folder.
void WriteDesktopPictures(const std::string& folder);
