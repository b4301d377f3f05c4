#pragma once

#include "codec/VX8ImageSegment.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

using TBytes = std::vector<uint8_t>;

// Owns one segment and loads it from bytes held here, counting the loads.
class TStoredBytesOwner : public TVX8SegmentOwner {
public:
    explicit TStoredBytesOwner(TBytes stored, uint8_t index = 0)
        : Stored(std::move(stored))
        , Segment(this, index)
    {
        Segment.SetUnloaded(static_cast<uint16_t>(Stored.size()));
    }

    void LoadSegment(uint8_t) override
    {
        ++Loads;
        Segment.Allocate(
            static_cast<uint16_t>(Stored.size()), TVX8ImageSegment::TAllocation::Plain);
        if (!Stored.empty())
            std::memcpy(Segment.Lock(), Stored.data(), Stored.size());
        Segment.Unlock();
    }

    // Decodes the stored bytes as segment `index` of a width x height image; returns its rows.
    TBytes Decode(
        uint16_t width, uint16_t height, uint8_t flags, uint8_t e1 = 0xF0, uint8_t e2 = 0xF1)
    {
        Segment.Escape1 = e1;
        Segment.Escape2 = e2;
        Segment.Flags = flags | TVX8ImageSegment::FlagEncoded;
        Segment.Decode(width, height);
        const uint8_t* rows = Segment.Lock();
        TBytes result(rows, rows + Segment.Size());
        Segment.Unlock();
        return result;
    }

    TBytes Stored;
    TVX8ImageSegment Segment;
    int Loads = 0;
};
