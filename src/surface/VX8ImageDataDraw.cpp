#include "surface/VX8ImageData.h"

#include <cstring>

namespace {

// Copies one row of width pixels. When the row overlaps itself with the target to the right of the
// source, the transparent copy runs right to left so that no pixel is read after it was written.
void CopyRow(uint8_t* target, const uint8_t* source, int32_t width, int key, bool rightToLeft)
{
    if (key < 0) {
        // The source may be this very surface, so the block move must allow overlap.
        std::memmove(target, source, static_cast<std::size_t>(width));
        return;
    }
    const auto transparent = static_cast<uint8_t>(key);
    if (rightToLeft) {
        for (int32_t i = width - 1; i >= 0; --i)
            if (source[i] != transparent)
                target[i] = source[i];
        return;
    }
    for (int32_t i = 0; i < width; ++i)
        if (source[i] != transparent)
            target[i] = source[i];
}

} // namespace

void TVX8ImageData::FillRect(TRect r, uint8_t colour)
{
    ClipToClipRect(r);
    if (!IsRectEmpty(r)) {
        const auto width = static_cast<std::size_t>(r.Right - r.Left);
        for (int32_t y = r.Top; y < r.Bottom; ++y)
            std::memset(StartLine(r.Left, y), colour, width);
    }
    EndDraw(r);
}

void TVX8ImageData::HorzLine(TPoint p, int32_t length, uint8_t colour)
{
    FillRect(
        {p.X, p.Y, ClampToInt32(int64_t {p.X} + length), ClampToInt32(int64_t {p.Y} + 1)}, colour);
}

void TVX8ImageData::VertLine(TPoint p, int32_t length, uint8_t colour)
{
    FillRect(
        {p.X, p.Y, ClampToInt32(int64_t {p.X} + 1), ClampToInt32(int64_t {p.Y} + length)}, colour);
}

void TVX8ImageData::Draw(TPoint p, TVX8ImageData& source, TRect s)
{
    const int key = source.TransparentKey();
    if (s.Left < 0) {
        p.X = ClampToInt32(int64_t {p.X} - s.Left);
        s.Left = 0;
    }
    if (s.Top < 0) {
        p.Y = ClampToInt32(int64_t {p.Y} - s.Top);
        s.Top = 0;
    }
    source.ClipToBounds(s);

    TRect d {p.X, p.Y, ClampToInt32(int64_t {p.X} + s.Right - s.Left),
        ClampToInt32(int64_t {p.Y} + s.Bottom - s.Top)};
    IntersectRect(d, d, ClipRect);
    IntersectRect(d, d, Bounds());
    s.Left = ClampToInt32(int64_t {s.Left} + d.Left - p.X);
    s.Right = ClampToInt32(int64_t {s.Left} + d.Right - d.Left);
    s.Top = ClampToInt32(int64_t {s.Top} + d.Top - p.Y);
    s.Bottom = ClampToInt32(int64_t {s.Top} + d.Bottom - d.Top);
    if (s.Left >= s.Right || s.Top >= s.Bottom)
        return;

    // A copy within one surface must not read a row or pixel it has already overwritten: when the
    // target lies below the source the rows go bottom-up, when it lies to the right, right to left.
    const bool sameSurface = source.Segments.data() == Segments.data();
    const bool bottomUp = sameSurface && d.Top > s.Top;
    const bool rightToLeft = sameSurface && d.Left > s.Left;
    const int32_t width = d.Right - d.Left;
    int32_t sy = bottomUp ? s.Bottom - 1 : s.Top;
    int32_t dy = bottomUp ? d.Bottom - 1 : d.Top;
    const int32_t lastDy = bottomUp ? d.Top : d.Bottom - 1;
    uint8_t* sp = source.StartLine(s.Left, sy);
    uint8_t* dp = StartLine(d.Left, dy);
    for (;;) {
        CopyRow(dp, sp, width, key, rightToLeft);
        if (dy == lastDy)
            break;
        if (bottomUp) {
            sp = source.PrevStartLine(sp, s.Left, sy);
            dp = PrevStartLine(dp, d.Left, dy);
        } else {
            sp = source.NextStartLine(sp, s.Left, sy);
            dp = NextStartLine(dp, d.Left, dy);
        }
    }
    source.UnlockSegment(s.Left, sy);
    UnlockSegment(d.Left, dy);
    EndDraw(d);
}
