#include "surface/VX8ImageData.h"

#include "common/KelException.h"

int TVX8ImageData::Display(TDeviceContext& dc, TPoint p, const TRect& r)
{
    if (SegmentCount == 0)
        return 0;
    if (PBMInfo == nullptr)
        throw VX8Exception("PBMInfo not initialized for Display");
    PBMInfo->Header.Width = Width;
    // Pieces stack upward from the bottom of the destination rectangle, segment 0 lowest.
    int64_t bottom = int64_t {p.Y} + (int64_t {r.Bottom} - r.Top);
    int total = 0;
    for (int k = 0; k < SegmentCount; ++k) {
        const TRect segmentRect = SegmentRect(k);
        TRect piece;
        if (!IntersectRect(piece, r, segmentRect))
            continue;
        const auto w = static_cast<uint16_t>(piece.Right - piece.Left);
        const auto h = static_cast<uint16_t>(piece.Bottom - piece.Top);
        bottom -= h;
        const TVX8SegmentLock lock(*Segments[k]);
        const int32_t lines = segmentRect.Bottom - segmentRect.Top;
        PBMInfo->Header.Height = lines;
        PBMInfo->Header.SizeImage = static_cast<uint32_t>(LineBytes * lines);
        total += dc.TransferDIBits(p.X, ClampToInt32(bottom), w, h, piece.Left,
            segmentRect.Bottom - piece.Bottom, lock.Bytes(), *PBMInfo);
    }
    return total;
}

void TVX8ImageData::FlushDamage(TDeviceContext& dc, TPoint origin)
{
    for (TKelNode* node = Damage.Next(nullptr); node != nullptr; node = Damage.Next(node)) {
        const TRect& r = static_cast<TDamageNode*>(node)->Rect;
        Display(dc,
            {ClampToInt32(int64_t {origin.X} + r.Left), ClampToInt32(int64_t {origin.Y} + r.Top)},
            r);
    }
    ClearDamage();
}
