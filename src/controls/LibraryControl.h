#pragma once

#include "platform/Control.h"

#include <string>
#include <string_view>

class TVX8Library;

// A link to an image library that the library clears when it is destroyed first.
class TLibraryLink {
public:
    TLibraryLink() = default;
    ~TLibraryLink() { Set(nullptr); }
    TLibraryLink(const TLibraryLink&) = delete;
    TLibraryLink& operator=(const TLibraryLink&) = delete;

    TVX8Library* Get() const { return FLibrary; }
    void Set(TVX8Library* library);

private:
    TVX8Library* FLibrary = nullptr;
};

// A windowless control that draws images of a library: its own, or until it has one the library
// of its whole class. When the library is destroyed first, the control forgets the images it had
// opened from it without touching them.
class TLibraryControl : public TControl {
public:
    void SetImageLibrary(TVX8Library* library);
    TVX8Library* EnsureLibrary();
    TVX8Library* Library() const { return FLibrary.Get(); }
    const std::string& ImageName() const { return FImageName; }
    // Releases the images, keeps the first 8 characters of name and loads the images from the
    // control's own library when it has one.
    virtual void ApplyImageName(std::string_view name) = 0;
    virtual void ReleaseImages() = 0;

protected:
    TLibraryControl(TForm& parent, const TLibraryLink& classLibrary);
    // Forgets, never touches, the images of a library that was destroyed.
    virtual void ForgetImagesOfLostLibrary() = 0;

    TLibraryLink FLibrary;
    std::string FImageName;

private:
    const TLibraryLink& FClassLibrary;
};
