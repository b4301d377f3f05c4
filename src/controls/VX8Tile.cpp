#include "controls/VX8Tile.h"

#include "common/KelStd.h"
#include "platform/Form.h"
#include "vx8/VX8Library.h"

TTileBG::TTileBG(TForm& parent)
    : TLibraryControl(parent, ClassLibrary)
{
    SetAlign(TAlign::Client);
    SetOpaque(true);
    SetEnabled(false);
}

TTileBG::~TTileBG()
{
    ReleaseImages();
}

void TTileBG::ForgetImagesOfLostLibrary()
{
    if (FLibrary.Get() == nullptr) {
        FTileNode = nullptr;
        FTileSurface = nullptr;
    }
}

TVX8ImageData* TTileBG::EnsureImage()
{
    if (FTileSurface == nullptr)
        ApplyImageName(FImageName);
    // An empty tile could never cover the area.
    return FTileSurface != nullptr && FTileSurface->Width > 0 && FTileSurface->Height > 0
        ? FTileSurface
        : nullptr;
}

void TTileBG::ApplyImageName(std::string_view name)
{
    ReleaseImages();
    FImageName = ShortName(name);
    if (FLibrary.Get() == nullptr || !FLibrary.Get()->ImageExists(FImageName))
        return;
    FTileNode = FLibrary.Get()->OpenImage(FImageName);
    try {
        FTileSurface = FLibrary.Get()->GetImageData(FTileNode);
        Invalidate();
    } catch (...) {
        ReleaseImages();
        throw;
    }
}

void TTileBG::ReleaseImages()
{
    ForgetImagesOfLostLibrary();
    if (FLibrary.Get() != nullptr && FTileNode != nullptr) {
        FLibrary.Get()->ReleaseImage(FTileNode);
        FTileSurface = nullptr;
        FTileNode = nullptr;
    }
}

void TTileBG::Paint(TCanvas& canvas)
{
    if (EnsureLibrary() == nullptr || EnsureImage() == nullptr) {
        canvas.Brush = {MakeColour(0, 0, 0), TBrushStyle::DiagCross};
        canvas.FillRect({Left(), Top(), Left() + Width(), Top() + Height()});
        return;
    }
    const int32_t w = FTileSurface->Width;
    const int32_t h = FTileSurface->Height;
    const TRect clip = canvas.ClipRect();
    TDeviceContext& dc = canvas.Handle();
    const int32_t x0 = clip.Left - clip.Left % w;
    int32_t y = clip.Top - clip.Top % h;
    const TDisplayPalette* previous = dc.SelectPalette(FLibrary.Get()->GetHPal(), false);
    dc.RealizePalette();
    try {
        int32_t x = x0;
        while (x < clip.Right && y < clip.Bottom) {
            FLibrary.Get()->DrawImage(dc, x, y, FTileNode);
            x += w;
            if (x >= clip.Right) {
                x = x0;
                y += h;
            }
        }
        dc.RemoveClipRegion();
        if (OnAfterPaint)
            OnAfterPaint(canvas, canvas.ClipRect());
    } catch (...) {
        dc.SelectPalette(previous, false);
        throw;
    }
    dc.SelectPalette(previous, false);
}

void TTileBG::PaintTilesTo(TVX8ImageData& surface, TPoint p)
{
    if (EnsureLibrary() == nullptr || EnsureImage() == nullptr)
        return;
    const int32_t tw = FTileSurface->Width;
    const int32_t th = FTileSurface->Height;
    const int32_t sw = surface.Width;
    const int32_t sh = surface.Height;
    const int32_t x0 = -(p.X % tw);
    int32_t x = x0;
    int32_t y = -(p.Y % th);
    while (x < sw && y < sh) {
        surface.Draw({x, y}, *FTileSurface, FTileSurface->Bounds());
        x += tw;
        if (x >= sw) {
            x = x0;
            y += th;
        }
    }
}
