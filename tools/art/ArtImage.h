#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// An sRGB colour with components from 0 to 1, blended the way cairo blends.
struct TArtColour {
    double R = 0;
    double G = 0;
    double B = 0;
    friend bool operator==(const TArtColour&, const TArtColour&) = default;
};

TArtColour Rgb(int32_t red, int32_t green, int32_t blue);
TArtColour Mix(const TArtColour& from, const TArtColour& to, double amount);
TArtColour Scale(const TArtColour& colour, double factor);

// What lies under a transparent picture in the game at a picture pixel: its anti-aliased edges
// are blended against it.
using TUnderlay = std::function<TArtColour(int32_t x, int32_t y)>;

// A finished picture before quantisation: one colour per pixel, and whether the pixel is drawn.
// Opaque pictures cover every pixel.
struct TArtPicture {
    std::string Name;
    int32_t Width = 0;
    int32_t Height = 0;
    bool Transparent = false;
    std::vector<TArtColour> Colours;
    std::vector<uint8_t> Covered;
    // The picture's share of the palette, relative to its pixel count.
    double Weight = 1;

    TArtPicture() = default;
    TArtPicture(std::string name, int32_t width, int32_t height, bool transparent);
    TArtColour& At(int32_t x, int32_t y) { return Colours[Index(x, y)]; }
    const TArtColour& At(int32_t x, int32_t y) const { return Colours[Index(x, y)]; }
    bool IsCovered(int32_t x, int32_t y) const { return Covered[Index(x, y)] != 0; }
    void SetCovered(int32_t x, int32_t y, bool covered) { Covered[Index(x, y)] = covered ? 1 : 0; }
    // Copies a whole picture so that its top-left lands at (x, y).
    void Paste(const TArtPicture& source, int32_t x, int32_t y);

private:
    std::size_t Index(int32_t x, int32_t y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(Width)
            + static_cast<std::size_t>(x);
    }
};

// A cairo ARGB image surface with its drawing context.
class TCanvas {
public:
    TCanvas(int32_t width, int32_t height);
    cairo_t* Cr() const { return FContext.get(); }
    cairo_surface_t* Surface() const { return FSurface.get(); }
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    // Coverage of a pixel, 0 to 1.
    double Alpha(int32_t x, int32_t y) const;
    // The pixel's colour without premultiplication; black where nothing was drawn.
    TArtColour Colour(int32_t x, int32_t y) const;

private:
    struct TSurfaceRelease {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct TContextRelease {
        void operator()(cairo_t* context) const { cairo_destroy(context); }
    };
    uint32_t Pixel(int32_t x, int32_t y) const;

    int32_t FWidth;
    int32_t FHeight;
    std::unique_ptr<cairo_surface_t, TSurfaceRelease> FSurface;
    std::unique_ptr<cairo_t, TContextRelease> FContext;
};

void SetColour(cairo_t* cr, const TArtColour& colour, double alpha = 1);
void RoundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius);

// An opaque picture of everything drawn on the canvas, composed over the underlay.
TArtPicture OpaquePicture(
    const std::string& name, const TCanvas& canvas, const TUnderlay& underlay);
// A transparent picture: pixels covered at least half are drawn, blended against the underlay;
// the others stay transparent.
TArtPicture TransparentPicture(
    const std::string& name, const TCanvas& canvas, const TUnderlay& underlay);
// The underlay that repeats a picture from the given offset, as the game repeats its tiles.
TUnderlay TiledUnderlay(const TArtPicture& tile, int32_t offsetX, int32_t offsetY);
TUnderlay FlatUnderlay(const TArtColour& colour);
TArtColour AverageColour(const TArtPicture& picture);
