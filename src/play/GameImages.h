#pragma once

#include "vx8/VX8Library.h"

#include <array>
#include <cstdint>
#include <string_view>

// One image taken from a library, given back when the holder goes. The library must outlive it.
class TImageHold {
public:
    TImageHold() = default;
    TImageHold(TVX8Library& library, TImageNode* node)
        : FLibrary(&library)
        , FNode(node)
    {
    }
    TImageHold(const TImageHold&) = delete;
    TImageHold& operator=(const TImageHold&) = delete;
    TImageHold(TImageHold&& other) noexcept { Swap(other); }
    TImageHold& operator=(TImageHold&& other) noexcept
    {
        TImageHold gone(std::move(other));
        Swap(gone);
        return *this;
    }
    ~TImageHold() { Release(); }

    static TImageHold Open(TVX8Library& library, std::string_view name)
    {
        return {library, library.OpenImage(name)};
    }
    static TImageHold Create(TVX8Library& library, std::string_view name, uint16_t w, uint16_t h)
    {
        return {library, library.CreateImage(name, w, h)};
    }

    TImageNode* Node() const { return FNode; }
    // The image's drawing surface; none when it cannot be built.
    TVX8ImageData* Surface() const { return FLibrary ? FLibrary->GetImageData(FNode) : nullptr; }
    void Release()
    {
        if (FLibrary != nullptr && FNode != nullptr)
            FLibrary->ReleaseImage(FNode);
        FNode = nullptr;
    }

private:
    void Swap(TImageHold& other) noexcept
    {
        std::swap(FLibrary, other.FLibrary);
        std::swap(FNode, other.FNode);
    }

    TVX8Library* FLibrary = nullptr;
    TImageNode* FNode = nullptr;
};

// The arrow pictures, in the order they are opened.
enum class TArrowImage : uint8_t {
    UpReleased,
    UpPressed,
    DownReleased,
    DownPressed,
    LeftReleased,
    LeftPressed,
    RightReleased,
    RightPressed,
};

// Every picture the boards are drawn from, held for the window's whole life, and the two board
// surfaces. Opening raises the library's error for a missing image.
class TGameImages {
public:
    explicit TGameImages(TVX8Library& library);

    TVX8Library& Library;
    std::array<TVX8ImageData*, 8> Arrows {};
    TVX8ImageData* Empty = nullptr;
    TVX8ImageData* Roads = nullptr;
    TVX8ImageData* ConnDiag = nullptr;
    TVX8ImageData* PlayBoard = nullptr;
    TVX8ImageData* PreviewBoard = nullptr;

    TVX8ImageData* Arrow(TArrowImage which) const
    {
        return Arrows[static_cast<std::size_t>(which)];
    }

private:
    std::array<TImageHold, 8> FArrowNodes;
    std::array<TImageHold, 3> FCellNodes;
    std::array<TImageHold, 2> FBoardNodes;
};
