#include "art/ArtPreview.h"

#include "art/ArtColours.h"
#include "art/ArtMockup.h"
#include "art/ArtText.h"
#include "common/KelException.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr int32_t SheetWidth = 1280;
constexpr int32_t SheetGap = 16;
constexpr int32_t LabelHeight = 18;

uint32_t Argb(const TPaletteColour& colour)
{
    return 0xFF000000u | (uint32_t(colour.R) << 16) | (uint32_t(colour.G) << 8) | colour.B;
}

// Pastes a picture at `scale` onto a canvas; transparent pixels become a grey checkerboard.
void Blit(TCanvas& canvas, const TIndexedPicture& picture, const TArtPalette& palette, int32_t left,
    int32_t top, int32_t scale)
{
    cairo_surface_flush(canvas.Surface());
    unsigned char* data = cairo_image_surface_get_data(canvas.Surface());
    const int32_t stride = cairo_image_surface_get_stride(canvas.Surface());
    for (int32_t y = 0; y < picture.Height * scale; ++y) {
        auto* row
            = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(top + y) * stride);
        for (int32_t x = 0; x < picture.Width * scale; ++x) {
            const uint8_t index = picture.At(x / scale, y / scale);
            const bool hole = picture.Transparent && index == TransparentKeySlot;
            const bool light = ((x / 4) + (y / 4)) % 2 == 0;
            row[left + x] = hole ? (light ? 0xFFD8D8D8u : 0xFFB4B4B4u) : Argb(palette[index]);
        }
    }
    cairo_surface_mark_dirty(canvas.Surface());
}

void Save(const TCanvas& canvas, const std::filesystem::path& path)
{
    if (cairo_surface_write_to_png(canvas.Surface(), path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw KelException("Cannot write \"" + path.string() + "\"");
}

void WritePicture(const TIndexedPicture& picture, const TArtPalette& palette,
    const std::filesystem::path& path, int32_t scale)
{
    TCanvas canvas(picture.Width * scale, picture.Height * scale);
    Blit(canvas, picture, palette, 0, 0, scale);
    Save(canvas, path);
}

void WriteContactSheet(const TArtLibrary& library, const std::filesystem::path& path)
{
    constexpr int32_t scale = 2;
    struct TPlace {
        const TIndexedPicture* Picture;
        int32_t X, Y;
    };
    std::vector<TPlace> places;
    int32_t x = SheetGap;
    int32_t y = SheetGap;
    int32_t shelf = 0;
    for (const TIndexedPicture& picture : library.Pictures) {
        const int32_t w = picture.Width * scale;
        const int32_t h = picture.Height * scale + LabelHeight;
        if (x + w + SheetGap > SheetWidth) {
            x = SheetGap;
            y += shelf + SheetGap;
            shelf = 0;
        }
        places.push_back({&picture, x, y});
        x += w + SheetGap;
        shelf = std::max(shelf, h);
    }
    TCanvas canvas(SheetWidth, y + shelf + SheetGap);
    SetColour(canvas.Cr(), Rgb(70, 70, 76));
    cairo_paint(canvas.Cr());
    for (const TPlace& place : places) {
        Blit(canvas, *place.Picture, library.Palette, place.X, place.Y + LabelHeight, scale);
        const TTextBlock label(canvas.Cr(), place.Picture->Name,
            {"DejaVu Sans", PANGO_WEIGHT_NORMAL, PANGO_STYLE_NORMAL, 12});
        SetColour(canvas.Cr(), Paint::White);
        label.ShowAt(place.X, place.Y + 2);
    }
    Save(canvas, path);
}

} // namespace

void WritePreviews(const TArtLibrary& library, const std::string& folder)
{
    const std::filesystem::path root(folder);
    std::filesystem::create_directories(root);
    for (const TIndexedPicture& picture : library.Pictures)
        WritePicture(picture, library.Palette, root / (picture.Name + ".png"), 2);
    WriteContactSheet(library, root / "contact-sheet.png");

    TMockup mockup(library);
    const TMockBoard target = SampleBoard(4, 4, 7);
    const TMockBoard scrambled = RotateColumn(RotateColumn(target, 1, 1), 3, 2);
    const std::pair<TWindowState, const char*> states[] = {{TWindowState::Idle, "window-idle"},
        {TWindowState::Playing, "window-playing"}, {TWindowState::Won, "window-won"}};
    for (const auto& [state, name] : states) {
        const TIndexedPicture window = mockup.Window(state, target, scrambled);
        WritePicture(window, library.Palette, root / (std::string(name) + ".png"), 1);
        WritePicture(window, library.Palette, root / (std::string(name) + "-2x.png"), 2);
    }
    for (int32_t mode = 0; mode < 3; ++mode) {
        const std::string suffix = std::to_string(mode) + "-4x.png";
        WritePicture(mockup.Board(FullBoard(3, 3), mode), library.Palette,
            root / ("board-full-mode" + suffix), 4);
        WritePicture(mockup.Board(SampleBoard(5, 5, 3), mode), library.Palette,
            root / ("board-sample-mode" + suffix), 4);
    }

    const TMockBoard large = SampleBoard(5, 5, 12);
    const TIndexedPicture window = mockup.Window(TWindowState::Idle, large, large);
    WritePicture(window, library.Palette, root / "window-idle-5x5.png", 1);
    const TIndexedPicture playing
        = mockup.Window(TWindowState::Playing, large, RotateColumn(large, 2, 1));
    WritePicture(playing, library.Palette, root / "window-playing-5x5-2x.png", 2);
}
