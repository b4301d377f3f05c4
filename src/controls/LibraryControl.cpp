#include "controls/LibraryControl.h"

#include "vx8/VX8Library.h"

void TLibraryLink::Set(TVX8Library* library)
{
    if (library == FLibrary)
        return;
    if (FLibrary != nullptr)
        FLibrary->UnregisterReference(&FLibrary);
    FLibrary = library;
    if (library != nullptr)
        library->RegisterReference(&FLibrary);
}

TLibraryControl::TLibraryControl(TForm& parent, const TLibraryLink& classLibrary)
    : TControl(parent)
    , FClassLibrary(classLibrary)
{
}

void TLibraryControl::SetImageLibrary(TVX8Library* library)
{
    ForgetImagesOfLostLibrary();
    if (FLibrary.Get() != nullptr)
        ReleaseImages();
    FLibrary.Set(library);
    if (library != nullptr)
        ApplyImageName(FImageName);
}

TVX8Library* TLibraryControl::EnsureLibrary()
{
    if (FLibrary.Get() == nullptr)
        SetImageLibrary(FClassLibrary.Get());
    return FLibrary.Get();
}
