#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <utility>

// What a segment needs of the image that owns it: the stored bytes of an unloaded segment.
class TVX8SegmentOwner {
public:
    // Gives segment `index` a new buffer holding its stored bytes, or raises.
    virtual void LoadSegment(uint8_t index) = 0;

protected:
    ~TVX8SegmentOwner() = default;
};

// A block of bytes taken out of a segment with Detach; the caller owns it.
struct TVX8SegmentBuffer {
    std::unique_ptr<uint8_t[]> Data;
    uint16_t Size = 0;
};

// One horizontal band of whole pixel rows of an image, at most 65,280 bytes. Its buffer is in one
// of four states: none, unloaded (only the size is known; the first Lock asks the owning image to
// load the bytes), present, or locked. Locks are not counted: one Unlock undoes any number.
class TVX8ImageSegment {
public:
    static constexpr uint32_t SegmentLimit = 0xFF00;
    static constexpr uint16_t MaxWidth = 0xFF00;

    static constexpr uint8_t FlagRawLines = 0x01;
    static constexpr uint8_t FlagRunsOnly = 0x02;
    static constexpr uint8_t FlagBusy = 0x04;
    static constexpr uint8_t FlagEncoded = 0x08;

    enum class TAllocation { Plain, ZeroFilled, Decoded };

    TVX8ImageSegment(TVX8SegmentOwner* image, uint8_t index);
    TVX8ImageSegment(const TVX8ImageSegment&) = delete;
    TVX8ImageSegment& operator=(const TVX8ImageSegment&) = delete;

    // Segment geometry of a W x H image; every result is 16-bit. The functions taking the height
    // raise for a width above MaxWidth, whose rows cannot fit a segment.
    static uint16_t RowStride(uint16_t width);
    static uint16_t SegmentLines(uint16_t width, uint16_t height, uint16_t index);
    static uint16_t SegmentBytes(uint16_t width, uint16_t height, uint16_t index);
    static uint16_t SegmentCount(uint16_t width, uint16_t height);
    static uint16_t MaskRowStride(uint16_t width);
    static uint16_t SegmentMaskBytes(uint16_t width, uint16_t height, uint16_t index);
    // Whether segments of the geometry can hold a W x H image: at most 255 of them, and every
    // image row falls into one of them (for a few sizes the rules above leave the last segment
    // larger than the others or give a count that differs from the segments made).
    static bool GeometryFits(uint16_t width, uint16_t height);

    // The block prefix from the library file: Escape1, Escape2, Flags as stored.
    void ReadPrefix(std::span<const uint8_t, 3> prefix);
    void SetUnloaded(uint16_t size);
    void Allocate(uint16_t size, TAllocation kind);
    uint8_t* Lock();
    void Unlock() noexcept;
    TVX8SegmentBuffer Detach();
    void FreeBuffer() noexcept;

    std::pair<uint8_t, uint8_t> GetEscapes() const { return {Escape1, Escape2}; }
    bool IsBusy() const { return (Flags & FlagBusy) != 0; }
    void SetBusy(bool busy);

    // Turns the stored bytes into the segment's pixel rows of a W x H image (the line decoder).
    void Decode(uint16_t width, uint16_t height);

    bool HasBuffer() const { return Buffer != nullptr || Unloaded; }
    bool IsUnloaded() const { return Unloaded; }
    bool IsLocked() const { return LockedAddress != nullptr; }
    uint16_t Size() const { return BufferSize; }
    uint8_t Index() const { return SegmentIndex; }

    uint8_t Escape1 = 0;
    uint8_t Escape2 = 0;
    uint8_t Flags = 0;

private:
    std::unique_ptr<uint8_t[]> Buffer;
    bool Unloaded = false;
    uint8_t* LockedAddress = nullptr;
    uint8_t SegmentIndex;
    uint16_t BufferSize = 0;
    TVX8SegmentOwner* Image;
};

// Keeps a segment locked for a scope and unlocks it on the way out, also on failure.
class TVX8SegmentLock {
public:
    explicit TVX8SegmentLock(TVX8ImageSegment& segment)
        : Segment(segment)
        , Address(segment.Lock())
    {
    }
    ~TVX8SegmentLock() { Segment.Unlock(); }
    TVX8SegmentLock(const TVX8SegmentLock&) = delete;
    TVX8SegmentLock& operator=(const TVX8SegmentLock&) = delete;

    std::span<const uint8_t> Bytes() const { return {Address, Segment.Size()}; }

private:
    TVX8ImageSegment& Segment;
    uint8_t* Address;
};
