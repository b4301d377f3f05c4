#include "LibraryAccess.h"

#include "common/KelException.h"
#include "common/KelStd.h"

#include <algorithm>

bool IsDirectoryEntry(const TVX8Library& library, const TVX8RecordEntry& entry)
{
    return library.ImageOffset(entry.Name) == entry.Offset;
}

namespace {

// Gives the node back however reading it ends.
class TOpenedImage {
public:
    TOpenedImage(TVX8Library& library, const std::string& name)
        : Library(library)
        , Node(library.OpenImage(name))
    {
    }
    ~TOpenedImage() { Library.ReleaseImage(Node); }
    TOpenedImage(const TOpenedImage&) = delete;
    TOpenedImage& operator=(const TOpenedImage&) = delete;

    TVX8Library& Library;
    TImageNode* Node;
};

} // namespace

TLibraryPicture ReadLibraryPicture(TVX8Library& library, const std::string& name)
{
    TOpenedImage opened(library, name);
    TVX8ImageData* data = library.GetImageData(opened.Node);
    if (data == nullptr) {
        throw KelException(
            "the drawing surface of image \"" + ShortName(name) + "\" cannot be built");
    }
    TLibraryPicture picture;
    picture.Name = ShortName(name);
    picture.Width = data->Width;
    picture.Height = data->Height;
    picture.Transparent = data->Transparent;
    picture.TransparentIndex = data->TransparentIndex;
    picture.Pixels.resize(size_t {data->Width} * data->Height);
    for (int32_t y = 0; y < data->Height; ++y) {
        const uint8_t* row = data->StartLine(0, y);
        std::copy(row, row + data->Width, picture.Pixels.begin() + ptrdiff_t {y} * data->Width);
    }
    return picture;
}
