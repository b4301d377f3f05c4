#include "codec/VX8ImageSegment.h"

#include "common/KelException.h"

#include <cstring>
#include <new>

TVX8ImageSegment::TVX8ImageSegment(TVX8SegmentOwner* image, uint8_t index)
    : SegmentIndex(index)
    , Image(image)
{
}

void TVX8ImageSegment::ReadPrefix(std::span<const uint8_t, 3> prefix)
{
    Escape1 = prefix[0];
    Escape2 = prefix[1];
    Flags = prefix[2];
}

void TVX8ImageSegment::SetUnloaded(uint16_t size)
{
    FreeBuffer();
    Unloaded = true;
    BufferSize = size;
}

void TVX8ImageSegment::Allocate(uint16_t size, TAllocation kind)
{
    FreeBuffer();
    // The decoder writes every byte of its rows, so only blank images pay for zero-filling.
    uint8_t* block = kind == TAllocation::ZeroFilled ? new (std::nothrow) uint8_t[size]()
                                                     : new (std::nothrow) uint8_t[size];
    if (block == nullptr)
        throw VX8Exception("Allocate: out of memory");
    Buffer.reset(block);
    BufferSize = size;
}

uint8_t* TVX8ImageSegment::Lock()
{
    if (!HasBuffer())
        throw VX8Exception("Segment Lock: segment buffer not allocated");
    if (LockedAddress == nullptr && Buffer != nullptr)
        LockedAddress = Buffer.get();
    if (LockedAddress == nullptr && Unloaded) {
        if (Image == nullptr)
            throw VX8Exception("Segment Lock: segment buffer not allocated");
        Image->LoadSegment(SegmentIndex);
        if (Buffer != nullptr && LockedAddress == nullptr)
            LockedAddress = Buffer.get();
    }
    if (LockedAddress == nullptr)
        throw VX8Exception("Segment Lock: segment buffer not allocated");
    return LockedAddress;
}

void TVX8ImageSegment::Unlock() noexcept
{
    LockedAddress = nullptr;
}

TVX8SegmentBuffer TVX8ImageSegment::Detach()
{
    if (HasBuffer()) {
        Lock();
        Unlock();
    }
    TVX8SegmentBuffer detached;
    detached.Size = Buffer != nullptr ? BufferSize : uint16_t {0};
    detached.Data = std::move(Buffer);
    Unloaded = false;
    BufferSize = 0;
    Flags &= static_cast<uint8_t>(~FlagEncoded);
    return detached;
}

void TVX8ImageSegment::FreeBuffer() noexcept
{
    Unlock();
    Flags &= static_cast<uint8_t>(~FlagEncoded);
    if (HasBuffer()) {
        Buffer.reset();
        Unloaded = false;
        BufferSize = 0;
    }
}

void TVX8ImageSegment::SetBusy(bool busy)
{
    if (busy)
        Flags |= FlagBusy;
    else
        Flags &= static_cast<uint8_t>(~FlagBusy);
}
