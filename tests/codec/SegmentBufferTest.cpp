#include "StoredBytesOwner.h"
#include "common/KelException.h"

#include <gtest/gtest.h>

namespace {

using S = TVX8ImageSegment;

TEST(SegmentBuffer, NewSegmentHasNoBufferAndRefusesLock)
{
    S segment(nullptr, 0);
    EXPECT_FALSE(segment.HasBuffer());
    EXPECT_EQ(segment.Size(), 0);
    try {
        segment.Lock();
        FAIL() << "Lock without a buffer succeeded";
    } catch (const VX8Exception& e) {
        EXPECT_STREQ(e.what(), "Segment Lock: segment buffer not allocated");
    }
}

TEST(SegmentBuffer, LocksAreNotCounted)
{
    S segment(nullptr, 0);
    segment.Allocate(16, S::TAllocation::ZeroFilled);
    uint8_t* first = segment.Lock();
    EXPECT_EQ(segment.Lock(), first);
    segment.Unlock();
    EXPECT_FALSE(segment.IsLocked());
    EXPECT_EQ(first[15], 0);
}

TEST(SegmentBuffer, UnloadedSegmentLoadsOnFirstLockOnly)
{
    TStoredBytesOwner owner({1, 2, 3});
    EXPECT_TRUE(owner.Segment.IsUnloaded());
    EXPECT_EQ(owner.Segment.Size(), 3);
    EXPECT_EQ(owner.Segment.Lock()[2], 3);
    owner.Segment.Unlock();
    owner.Segment.Lock();
    EXPECT_EQ(owner.Loads, 1);
    EXPECT_FALSE(owner.Segment.IsUnloaded());
}

TEST(SegmentBuffer, AllocateAndFreeBufferClearEncoded)
{
    TStoredBytesOwner owner({0, 5, 5, 5, 5});
    owner.Segment.Flags = S::FlagEncoded | S::FlagRunsOnly;
    owner.Segment.Allocate(4, S::TAllocation::ZeroFilled);
    EXPECT_EQ(owner.Segment.Flags, S::FlagRunsOnly);
    owner.Segment.Decode(4, 1); // nothing to decode any more
    EXPECT_EQ(owner.Loads, 0);
    EXPECT_EQ(owner.Segment.Lock()[0], 0);

    S empty(nullptr, 0);
    empty.Flags = S::FlagEncoded | S::FlagBusy;
    empty.FreeBuffer();
    EXPECT_EQ(empty.Flags, S::FlagBusy);
    EXPECT_FALSE(empty.HasBuffer());
}

TEST(SegmentBuffer, DetachOfUnloadedSegmentHandsOverStoredBytes)
{
    TStoredBytesOwner owner({7, 8, 9});
    owner.Segment.Flags = S::FlagEncoded;
    const TVX8SegmentBuffer detached = owner.Segment.Detach();
    ASSERT_EQ(detached.Size, 3);
    EXPECT_EQ(detached.Data[0], 7);
    EXPECT_EQ(detached.Data[2], 9);
    EXPECT_FALSE(owner.Segment.HasBuffer());
    EXPECT_EQ(owner.Segment.Size(), 0);
    EXPECT_EQ(owner.Segment.Flags, 0);
}

TEST(SegmentBuffer, PrefixEscapesAndBusyMark)
{
    S segment(nullptr, 3);
    const uint8_t prefix[3] = {0xAA, 0xBB, S::FlagEncoded | S::FlagBusy};
    segment.ReadPrefix(prefix);
    EXPECT_EQ(segment.GetEscapes(), std::make_pair(uint8_t {0xAA}, uint8_t {0xBB}));
    EXPECT_TRUE(segment.IsBusy());
    segment.SetBusy(false);
    EXPECT_EQ(segment.Flags, S::FlagEncoded);
    EXPECT_EQ(segment.Index(), 3);
}

TEST(SegmentBuffer, SetUnloadedReplacesAPresentBuffer)
{
    TStoredBytesOwner owner({4, 4});
    owner.Segment.Allocate(10, S::TAllocation::ZeroFilled);
    owner.Segment.SetUnloaded(2);
    EXPECT_EQ(owner.Segment.Lock()[0], 4);
    EXPECT_EQ(owner.Loads, 1);
}

} // namespace
