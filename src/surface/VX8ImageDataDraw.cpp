#include "surface/VX8ImageData.h"

#include <cstring>

namespace {

void CopyRow(uint8_t* target, const uint8_t* source, int32_t width, int key)
{
    if (key < 0) {
        // The source may be this very surface, so the block move must allow overlap.
        std::memmove(target, source, static_cast<std::size_t>(width));
        return;
    }
    const auto transparent = static_cast<uint8_t>(key);
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

    const int32_t width = d.Right - d.Left;
    int32_t sy = s.Top;
    int32_t dy = d.Top;
    uint8_t* sp = source.StartLine(s.Left, sy);
    uint8_t* dp = StartLine(d.Left, dy);
    for (;;) {
        CopyRow(dp, sp, width, key);
        if (dy == d.Bottom - 1)
            break;
        sp = source.NextStartLine(sp, s.Left, sy);
        dp = NextStartLine(dp, d.Left, dy);
    }
    source.UnlockSegment(s.Left, s.Bottom - 1);
    UnlockSegment(d.Left, d.Bottom - 1);
    EndDraw(d);
}
