#pragma once

#include "raster/DeviceContext.h"
#include "raster/DisplayPalette.h"
#include "surface/VX8ImageData.h"
#include "vx8/VX8FileStream.h"
#include "vx8/VX8ImageList.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The header fields of one image record, as the directory scan finds them.
struct TVX8RecordEntry {
    int32_t Offset = 0;
    std::string Name; // as stored, letter case kept
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t SegmentCount = 0;
    uint8_t State = 0;
    uint8_t TransparentIndex = 0;
    bool Transparent = false;
};

// An open image library file: its shared palette, a directory of the image names in it, and
// the images handed out by name with reference counts. Names are cut to 8 characters and
// compared without regard to the case of A-Z.
class TVX8Library {
public:
    static constexpr int64_t FileHeaderSize = 6;
    static constexpr int64_t PaletteSize = 1024;
    static constexpr int64_t FirstRecordOffset = FileHeaderSize + PaletteSize;
    // The display palette shows these entries as black and white, whatever the file holds there.
    static constexpr uint8_t BlackEntry = 0;
    static constexpr uint8_t WhiteEntry = 255;

    TVX8Library() = default;
    // Clears every registered variable, then closes.
    ~TVX8Library();
    TVX8Library(const TVX8Library&) = delete;
    TVX8Library& operator=(const TVX8Library&) = delete;

    // Closes any open file, then opens, validates and scans this one. On failure the library is
    // closed and the failure passes on.
    void Open(const std::string& fileName, bool readOnly);
    void Close();
    void BuildDirectory();

    int32_t ImageOffset(std::string_view name) const;
    bool ImageExists(std::string_view name) const { return ImageOffset(name) > 0; }
    // The named image, read and decoded from the file on first use; count it with ReleaseImage.
    TImageNode* OpenImage(std::string_view name);
    void ReleaseImage(TImageNode* node);
    // A blank image under the name, not backed by the file; it hides a file record of the name.
    TImageNode* CreateImage(std::string_view name, uint16_t width, uint16_t height);
    // The node's drawing surface, created on the first request; none when it cannot be built.
    TVX8ImageData* GetImageData(TImageNode* node);
    void DrawImage(TDeviceContext& dc, int32_t x, int32_t y, TImageNode* node);
    // The display palette made from the file's palette, created once per open file.
    const TDisplayPalette* GetHPal();

    // Asks the library to set *variable to none when it is destroyed; only a variable that
    // holds this library is registered.
    void RegisterReference(TVX8Library** variable);
    void UnregisterReference(TVX8Library** variable);

    // Raises "ValidateVX8FileHeader: header invalid" unless the 6 bytes start a library file.
    static void ValidateVX8FileHeader(std::span<const uint8_t> header);

    bool IsReadOnly() const;
    const std::array<uint8_t, PaletteSize>* FilePalette() const { return FPalette.get(); }
    const std::map<std::string, int32_t>& ImageDirectory() const { return FDirectory; }
    // Every record of the open file in file order; a record whose name an earlier record has
    // taken is listed here but not in the directory.
    const std::vector<TVX8RecordEntry>& Records() const { return FRecords; }

    std::string FileName;
    TImageList Images;

private:
    std::unique_ptr<std::array<uint8_t, PaletteSize>> FPalette;
    std::unique_ptr<TDisplayPalette> FPaletteHandle;
    std::map<std::string, int32_t> FDirectory;
    std::vector<TVX8RecordEntry> FRecords;
    std::unique_ptr<TVX8FileStream> FStream;
    int64_t FFileLength = 0;
    std::vector<TVX8Library**> FReferences;

    TImageNode* FindOpenImage(const std::string& lowerName) const;
    void ReadFileStart();
};
