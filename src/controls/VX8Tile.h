#pragma once

#include "common/KelRect.h"
#include "controls/LibraryControl.h"

#include <functional>
#include <string>
#include <string_view>

class TVX8Library;
class TVX8ImageData;
class TImageNode;

// A background that fills its form's whole client area with one library image repeated edge to
// edge, in a grid anchored at the client origin. It takes no mouse input: clicks and moves over
// it reach the form. The tile loads lazily from the class-wide library at the first paint; while
// it cannot, a black diagonal hatch shows instead.
class TTileBG final : public TLibraryControl {
public:
    explicit TTileBG(TForm& parent);
    ~TTileBG() override;

    // The library of every background that has none of its own yet; cleared when it is destroyed.
    static void SetGlobalImageLibrary(TVX8Library* library) { ClassLibrary.Set(library); }
    static TVX8Library* GlobalImageLibrary() { return ClassLibrary.Get(); }

    void ApplyImageName(std::string_view name) override;

    // Called after the tiles of each paint with the canvas and its clip rectangle.
    std::function<void(TCanvas&, const TRect&)> OnAfterPaint;

    TVX8ImageData* EnsureImage();
    void ReleaseImages() override;

    void Paint(TCanvas& canvas) override;
    // Paints the tile pattern into surface as the window shows it from client position p.
    void PaintTilesTo(TVX8ImageData& surface, TPoint p);

    TImageNode* TileNode() const { return FTileNode; }
    TVX8ImageData* TileSurface() const { return FTileSurface; }

private:
    void ForgetImagesOfLostLibrary() override;

    inline static TLibraryLink ClassLibrary;
    TImageNode* FTileNode = nullptr;
    TVX8ImageData* FTileSurface = nullptr;
};
