#include "art/ArtImage.h"

#include "common/KelException.h"

#include <cmath>
#include <numbers>

TArtColour Rgb(int32_t red, int32_t green, int32_t blue)
{
    return {red / 255.0, green / 255.0, blue / 255.0};
}

TArtColour Mix(const TArtColour& from, const TArtColour& to, double amount)
{
    return {from.R + (to.R - from.R) * amount, from.G + (to.G - from.G) * amount,
        from.B + (to.B - from.B) * amount};
}

TArtColour Scale(const TArtColour& colour, double factor)
{
    return {colour.R * factor, colour.G * factor, colour.B * factor};
}

TArtPicture::TArtPicture(std::string name, int32_t width, int32_t height, bool transparent)
    : Name(std::move(name))
    , Width(width)
    , Height(height)
    , Transparent(transparent)
    , Colours(static_cast<std::size_t>(width * height))
    , Covered(static_cast<std::size_t>(width * height), transparent ? 0 : 1)
{
}

void TArtPicture::Paste(const TArtPicture& source, int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x + source.Width > Width || y + source.Height > Height)
        throw KelException("Paste: picture \"" + source.Name + "\" outside \"" + Name + "\"");
    for (int32_t row = 0; row < source.Height; ++row) {
        for (int32_t col = 0; col < source.Width; ++col) {
            At(x + col, y + row) = source.At(col, row);
            SetCovered(x + col, y + row, source.IsCovered(col, row));
        }
    }
}

TCanvas::TCanvas(int32_t width, int32_t height)
    : FWidth(width)
    , FHeight(height)
    , FSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height))
{
    if (cairo_surface_status(FSurface.get()) != CAIRO_STATUS_SUCCESS)
        throw KelException("TCanvas: cannot create a drawing surface");
    FContext.reset(cairo_create(FSurface.get()));
    if (cairo_status(FContext.get()) != CAIRO_STATUS_SUCCESS)
        throw KelException("TCanvas: cannot create a drawing context");
}

uint32_t TCanvas::Pixel(int32_t x, int32_t y) const
{
    cairo_surface_flush(FSurface.get());
    const unsigned char* data = cairo_image_surface_get_data(FSurface.get());
    const int32_t stride = cairo_image_surface_get_stride(FSurface.get());
    const auto* row
        = reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    return row[x];
}

double TCanvas::Alpha(int32_t x, int32_t y) const
{
    return ((Pixel(x, y) >> 24) & 0xFF) / 255.0;
}

TArtColour TCanvas::Colour(int32_t x, int32_t y) const
{
    const uint32_t pixel = Pixel(x, y);
    const double alpha = (pixel >> 24) & 0xFF;
    if (alpha == 0)
        return {};
    return {((pixel >> 16) & 0xFF) / alpha, ((pixel >> 8) & 0xFF) / alpha, (pixel & 0xFF) / alpha};
}

void SetColour(cairo_t* cr, const TArtColour& colour, double alpha)
{
    cairo_set_source_rgba(cr, colour.R, colour.G, colour.B, alpha);
}

void RoundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius)
{
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -quarter, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, quarter);
    cairo_arc(cr, x + radius, y + height - radius, radius, quarter, 2 * quarter);
    cairo_arc(cr, x + radius, y + radius, radius, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

TArtPicture OpaquePicture(const std::string& name, const TCanvas& canvas, const TUnderlay& underlay)
{
    TArtPicture picture(name, canvas.Width(), canvas.Height(), false);
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x)
            picture.At(x, y) = Mix(underlay(x, y), canvas.Colour(x, y), canvas.Alpha(x, y));
    }
    return picture;
}

TArtPicture TransparentPicture(
    const std::string& name, const TCanvas& canvas, const TUnderlay& underlay)
{
    TArtPicture picture(name, canvas.Width(), canvas.Height(), true);
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x) {
            const double alpha = canvas.Alpha(x, y);
            if (alpha < 0.5)
                continue;
            picture.At(x, y) = Mix(underlay(x, y), canvas.Colour(x, y), alpha);
            picture.SetCovered(x, y, true);
        }
    }
    return picture;
}

TUnderlay TiledUnderlay(const TArtPicture& tile, int32_t offsetX, int32_t offsetY)
{
    return [&tile, offsetX, offsetY](int32_t x, int32_t y) {
        const int32_t tx = ((x + offsetX) % tile.Width + tile.Width) % tile.Width;
        const int32_t ty = ((y + offsetY) % tile.Height + tile.Height) % tile.Height;
        return tile.At(tx, ty);
    };
}

TUnderlay FlatUnderlay(const TArtColour& colour)
{
    return [colour](int32_t, int32_t) { return colour; };
}

TArtColour AverageColour(const TArtPicture& picture)
{
    TArtColour sum;
    for (const TArtColour& colour : picture.Colours)
        sum = {sum.R + colour.R, sum.G + colour.G, sum.B + colour.B};
    return Scale(sum, 1.0 / static_cast<double>(picture.Colours.size()));
}
