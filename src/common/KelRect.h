#pragma once

#include <cstdint>

// Pixel co-ordinates; Right and Bottom lie just outside the rectangle.
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr int32_t RectWidth(const TRect& r)
{
    return r.Right - r.Left;
}
constexpr int32_t RectHeight(const TRect& r)
{
    return r.Bottom - r.Top;
}

// R's size placed at P.
constexpr TRect RectAt(const TRect& r, TPoint p)
{
    return {p.X, p.Y, p.X + RectWidth(r), p.Y + RectHeight(r)};
}

constexpr bool IsRectEmpty(const TRect& r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

// The overlap of A and B. When either is empty or they do not meet, the result is all zero and
// the function answers false; the drawing code relies on that all-zero result.
constexpr bool IntersectRect(TRect& result, const TRect& a, const TRect& b)
{
    if (IsRectEmpty(a) || IsRectEmpty(b)) {
        result = {};
        return false;
    }
    TRect r {a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
        a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (IsRectEmpty(r)) {
        result = {};
        return false;
    }
    result = r;
    return true;
}
