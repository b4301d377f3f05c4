#pragma once

#include <cstdio>
#include <png.h>

// libpng reports errors by jumping back to the setjmp of the function that called it; the
// message is kept here, and the functions that call libpng hold no C++ objects of their own.
struct TPngErrorText {
    char Text[200] = "";
};

inline void OnPngError(png_structp png, png_const_charp message)
{
    auto* error = static_cast<TPngErrorText*>(png_get_error_ptr(png));
    std::snprintf(error->Text, sizeof error->Text, "%s", message);
    png_longjmp(png, 1);
}

inline void OnPngWarning(png_structp, png_const_charp)
{
}
