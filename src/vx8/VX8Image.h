#pragma once

#include "codec/VX8ImageSegment.h"
#include "common/KelRect.h"
#include "raster/DeviceContext.h"
#include "surface/VX8ImageData.h"
#include "vx8/VX8FileStream.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

// One image record of a library file: an 18-byte header, the segment end table and one block
// per segment. State 0: no segments; 1: segments hold encoded data not yet decoded; 2: ready.
class TVX8Image : public TVX8SegmentOwner {
public:
    static constexpr std::size_t HeaderSize = 18;
    static constexpr uint16_t RequiredRevision = 3;

    TVX8Image() = default;
    virtual ~TVX8Image() = default;
    TVX8Image(const TVX8Image&) = delete;
    TVX8Image& operator=(const TVX8Image&) = delete;

    // Reads the record at the stream's position: header, segment table and block prefixes. The
    // stream must outlive the image; segments load their bytes from it later.
    void ReadFromStream(TVX8FileStream& stream);
    // A blank image, every pixel 0, ready to draw on.
    virtual void CreateBlank(std::string_view name, uint16_t width, uint16_t height);
    void LoadSegment(uint8_t index) override;
    void DecodeAll();
    // A new drawing surface over the segments, or none when decoding or set-up fails.
    std::unique_ptr<TVX8ImageData> GetImageData(TBitmapInfo* pbmInfo);
    void ReleaseImageData(std::unique_ptr<TVX8ImageData> data);
    void FreeSegments();
    // Draws every segment unscaled with the image's top-left at point; header is the caller's
    // copy of the display header, whose size fields are overwritten.
    void DrawToDevice(TDeviceContext& dc, TPoint point, TBitmapInfo& header);

    // Raises "Invalid VX8 image header" unless the header's fields keep the record rules, and
    // raises its own message for a width or segment count that the geometry cannot hold.
    static void ValidateImageHeader(std::span<const uint8_t, HeaderSize> header);

    std::array<char, 8> Name {};
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t SegmentCount = 0;
    uint8_t State = 0;
    uint8_t TransparentIndex = 0;
    uint8_t Transparent = 0;
    uint16_t Revision = 0;
    std::vector<std::unique_ptr<TVX8ImageSegment>> Segments;
    TVX8FileStream* Stream = nullptr;
    int64_t RecordStart = 0;

private:
    void ReadSegmentTable(TVX8FileStream& stream, std::vector<uint16_t>& storedLengths);
    void ReadSegmentPrefixes(TVX8FileStream& stream, const std::vector<uint16_t>& storedLengths);
};
