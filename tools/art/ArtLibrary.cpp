#include "art/ArtLibrary.h"

#include "common/KelException.h"
#include "art/ArtArrows.h"
#include "art/ArtBackground.h"
#include "art/ArtBanners.h"
#include "art/ArtButtons.h"
#include "art/ArtColours.h"
#include "art/ArtRoads.h"

namespace {

// Shares of the palette by how much of the window a picture fills and how closely it is seen:
// the table top and the meadow are everywhere, text and arrows need clean edges.
void SetWeights(std::vector<TArtPicture>& pictures)
{
    for (TArtPicture& picture : pictures) {
        if (picture.Name == "empty")
            picture.Weight = 6;
        else if (picture.Name == "roads" || picture.Name == "conndiag")
            picture.Weight = 3;
        else if (picture.Name == "tile" || picture.Name.starts_with("arr"))
            picture.Weight = 2;
        else
            picture.Weight = 1;
    }
}

} // namespace

const TIndexedPicture& TArtLibrary::Picture(const std::string& name) const
{
    for (const TIndexedPicture& picture : Pictures) {
        if (picture.Name == name)
            return picture;
    }
    throw KelException("Picture \"" + name + "\" was not drawn");
}

std::vector<TArtPicture> DrawAllPictures()
{
    TArtPicture tile = DrawTableTile();
    TArtPicture empty = DrawEmptyCell();
    TArtPicture roads = DrawRoads(empty);
    TArtPicture corners = DrawCornerPieces(empty);
    std::vector<TArtPicture> arrows = DrawArrows(tile);
    std::vector<TArtPicture> buttons = DrawButtons(tile);
    std::vector<TArtPicture> banners = DrawBanners(tile);
    std::vector<TArtPicture> pictures;
    pictures.push_back(std::move(tile));
    pictures.push_back(std::move(empty));
    pictures.push_back(std::move(roads));
    pictures.push_back(std::move(corners));
    for (auto* group : {&arrows, &buttons, &banners}) {
        for (TArtPicture& picture : *group)
            pictures.push_back(std::move(picture));
    }
    SetWeights(pictures);
    return pictures;
}

TArtLibrary BuildArtLibrary()
{
    const std::vector<TArtPicture> pictures = DrawAllPictures();
    TArtLibrary library;
    library.Palette = BuildPalette(pictures);
    for (const TArtPicture& picture : pictures)
        library.Pictures.push_back(MapToPalette(picture, library.Palette));
    return library;
}

TVX8Palette ToFilePalette(const TArtPalette& palette)
{
    TVX8Palette file {};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        file[i * 4] = palette[i].B;
        file[i * 4 + 1] = palette[i].G;
        file[i * 4 + 2] = palette[i].R;
        file[i * 4 + 3] = 0;
    }
    return file;
}

std::vector<TVX8SourceImage> ToSourceImages(const TArtLibrary& library)
{
    std::vector<TVX8SourceImage> images;
    for (const TIndexedPicture& picture : library.Pictures) {
        const auto key = static_cast<uint8_t>(picture.Transparent ? TransparentKeySlot : 0);
        images.push_back({picture.Name, static_cast<uint16_t>(picture.Width),
            static_cast<uint16_t>(picture.Height), picture.Pixels, picture.Transparent, key});
    }
    return images;
}
