#include "PaletteMapping.h"

#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

struct TLab {
    double L = 0;
    double A = 0;
    double B = 0;
};

double Linear(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double LabCurve(double t)
{
    constexpr double Epsilon = 216.0 / 24389.0;
    constexpr double Kappa = 24389.0 / 27.0;
    return t > Epsilon ? std::cbrt(t) : (Kappa * t + 16.0) / 116.0;
}

// sRGB samples scaled to 0 ... 1, seen under daylight (D65).
TLab ToLab(double red, double green, double blue)
{
    const double r = Linear(red);
    const double g = Linear(green);
    const double b = Linear(blue);
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = LabCurve(x);
    const double fy = LabCurve(y);
    const double fz = LabCurve(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double Distance(const TLab& p, const TLab& q)
{
    return (p.L - q.L) * (p.L - q.L) + (p.A - q.A) * (p.A - q.A) + (p.B - q.B) * (p.B - q.B);
}

class TNearestColour {
public:
    explicit TNearestColour(const TTargetPalette& palette)
        : FKey(palette.TransparentIndex)
    {
        for (const TRgb& c : palette.Colours)
            FLab.push_back(ToLab(c[0] / 255.0, c[1] / 255.0, c[2] / 255.0));
    }

    // The first of the nearest entries, so that an exact colour finds its own (lowest) index.
    uint8_t Find(const TLab& colour) const
    {
        int best = 0;
        double bestDistance = std::numeric_limits<double>::max();
        for (int i = 0; i < static_cast<int>(FLab.size()); ++i) {
            const double d = Distance(colour, FLab[static_cast<std::size_t>(i)]);
            if (i != FKey && d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return static_cast<uint8_t>(best);
    }

    const TLab& LabOf(uint8_t index) const { return FLab[index]; }

private:
    int FKey;
    std::vector<TLab> FLab;
};

TLab PixelLab(const uint16_t* p)
{
    return ToLab(p[0] / 65535.0, p[1] / 65535.0, p[2] / 65535.0);
}

} // namespace

std::vector<uint8_t> MapToPalette(const std::vector<uint16_t>& rgba, uint32_t width,
    const TTargetPalette& palette, bool dither, bool& transparent)
{
    const TNearestColour nearest(palette);
    const std::size_t count = rgba.size() / 4;
    std::vector<uint8_t> indices(count);
    transparent = false;
    const auto key = static_cast<uint8_t>(palette.TransparentIndex);
    if (!dither) {
        std::unordered_map<uint64_t, uint8_t> known;
        for (std::size_t i = 0; i < count; ++i) {
            const uint16_t* p = &rgba[4 * i];
            if (IsClearAlpha(p[3])) {
                indices[i] = key;
                transparent = true;
                continue;
            }
            const uint64_t colour = (uint64_t {p[0]} << 32) | (uint64_t {p[1]} << 16) | p[2];
            auto [it, added] = known.try_emplace(colour, 0);
            if (added)
                it->second = nearest.Find(PixelLab(p));
            indices[i] = it->second;
        }
        return indices;
    }
    // The error of each pixel of this row and the next, in Lab, with a pixel of margin each side.
    std::vector<TLab> current(width + 2);
    std::vector<TLab> next(width + 2);
    for (std::size_t row = 0; row * width < count; ++row) {
        std::swap(current, next);
        std::fill(next.begin(), next.end(), TLab {});
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t i = row * width + x;
            const uint16_t* p = &rgba[4 * i];
            if (IsClearAlpha(p[3])) {
                indices[i] = key;
                transparent = true;
                continue;
            }
            TLab wanted = PixelLab(p);
            const TLab& error = current[x + 1];
            wanted = {wanted.L + error.L, wanted.A + error.A, wanted.B + error.B};
            indices[i] = nearest.Find(wanted);
            const TLab& got = nearest.LabOf(indices[i]);
            const TLab rest {wanted.L - got.L, wanted.A - got.A, wanted.B - got.B};
            const auto spread = [&](TLab& target, double weight) {
                target.L += rest.L * weight;
                target.A += rest.A * weight;
                target.B += rest.B * weight;
            };
            spread(current[x + 2], 7.0 / 16);
            spread(next[x], 3.0 / 16);
            spread(next[x + 1], 5.0 / 16);
            spread(next[x + 2], 1.0 / 16);
        }
    }
    return indices;
}
