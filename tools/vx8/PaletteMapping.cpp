#include "PaletteMapping.h"

#include "common/KelException.h"

#include <algorithm>
#include <array>
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

// The most Delta E that a pixel takes from its neighbours, and hands on when its own colour is
// in the palette. A pixel hands on less the farther its colour lies from every palette colour,
// and nothing from this far on: that part of the error no mix of neighbours makes up, and
// carried on it would only pile up into noise.
constexpr double MaxCarriedError = 40.0;

TLab Clamped(const TLab& error, double limit)
{
    const double length = std::sqrt(Distance(error, {}));
    if (length <= limit)
        return error;
    const double scale = limit <= 0 ? 0 : limit / length;
    return {error.L * scale, error.A * scale, error.B * scale};
}

// Each colour is matched once; the difference of every opaque pixel is its own colour's.
std::vector<uint8_t> MapPlain(
    const std::vector<uint16_t>& rgba, const TNearestColour& nearest, TPaletteMapping& mapping)
{
    struct TMatch {
        uint8_t Index = 0;
        double DeltaE = 0;
    };
    const std::size_t count = rgba.size() / 4;
    std::vector<uint8_t> indices(count);
    std::unordered_map<uint64_t, TMatch> known;
    double sum = 0;
    std::size_t opaque = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const uint16_t* p = &rgba[4 * i];
        if (IsClearAlpha(p[3]))
            continue;
        const uint64_t colour = (uint64_t {p[0]} << 32) | (uint64_t {p[1]} << 16) | p[2];
        auto [it, added] = known.try_emplace(colour);
        if (added) {
            const TLab own = PixelLab(p);
            it->second.Index = nearest.Find(own);
            it->second.DeltaE = std::sqrt(Distance(own, nearest.LabOf(it->second.Index)));
        }
        indices[i] = it->second.Index;
        sum += it->second.DeltaE;
        mapping.MaxDeltaE = std::max(mapping.MaxDeltaE, it->second.DeltaE);
        ++opaque;
    }
    mapping.MeanDeltaE = opaque == 0 ? 0 : sum / static_cast<double>(opaque);
    return indices;
}

std::vector<uint8_t> MapDithered(
    const std::vector<uint16_t>& rgba, uint32_t width, const TNearestColour& nearest)
{
    const std::size_t count = rgba.size() / 4;
    std::vector<uint8_t> indices(count);
    // The error of each pixel of this row and the next, in Lab, with a pixel of margin each side.
    std::vector<TLab> current(width + 2);
    std::vector<TLab> next(width + 2);
    for (std::size_t row = 0; row * width < count; ++row) {
        std::swap(current, next);
        std::fill(next.begin(), next.end(), TLab {});
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t i = row * width + x;
            const uint16_t* p = &rgba[4 * i];
            if (IsClearAlpha(p[3]))
                continue;
            const TLab own = PixelLab(p);
            const TLab error = Clamped(current[x + 1], MaxCarriedError);
            const TLab wanted {own.L + error.L, own.A + error.A, own.B + error.B};
            indices[i] = nearest.Find(wanted);
            const TLab& got = nearest.LabOf(indices[i]);
            const double away = std::sqrt(Distance(own, nearest.LabOf(nearest.Find(own))));
            const TLab rest = Clamped(
                {wanted.L - got.L, wanted.A - got.A, wanted.B - got.B}, MaxCarriedError - away);
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

// A dithered picture against its source, by the mean Lab colours of the opaque pixels of each
// opaque pixel's 3 x 3 neighbourhood; three rows are held at a time.
void MeasureDithered(const std::vector<uint16_t>& rgba, uint32_t width,
    const TNearestColour& nearest, TPaletteMapping& mapping)
{
    struct TRow {
        std::vector<TLab> Own;
        std::vector<TLab> Got;
        std::vector<char> Opaque;
    };
    const std::size_t height = width == 0 ? 0 : mapping.Indices.size() / width;
    std::array<TRow, 3> rows;
    const auto load = [&](std::size_t y) {
        TRow& row = rows[y % 3];
        row.Own.assign(width, {});
        row.Got.assign(width, {});
        row.Opaque.assign(width, 0);
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t i = y * width + x;
            row.Opaque[x] = IsClearAlpha(rgba[4 * i + 3]) ? 0 : 1;
            if (row.Opaque[x] != 0) {
                row.Own[x] = PixelLab(&rgba[4 * i]);
                row.Got[x] = nearest.LabOf(mapping.Indices[i]);
            }
        }
    };
    double sum = 0;
    std::size_t opaque = 0;
    if (height > 0)
        load(0);
    for (std::size_t y = 0; y < height; ++y) {
        if (y + 1 < height)
            load(y + 1);
        for (std::size_t x = 0; x < width; ++x) {
            if (rows[y % 3].Opaque[x] == 0)
                continue;
            TLab own;
            TLab got;
            int count = 0;
            for (std::size_t v = y == 0 ? 0 : y - 1; v <= y + 1 && v < height; ++v) {
                const TRow& row = rows[v % 3];
                for (std::size_t u = x == 0 ? 0 : x - 1; u <= x + 1 && u < width; ++u) {
                    if (row.Opaque[u] == 0)
                        continue;
                    own = {own.L + row.Own[u].L, own.A + row.Own[u].A, own.B + row.Own[u].B};
                    got = {got.L + row.Got[u].L, got.A + row.Got[u].A, got.B + row.Got[u].B};
                    ++count;
                }
            }
            const double difference = std::sqrt(Distance(own, got)) / count;
            sum += difference;
            mapping.MaxDeltaE = std::max(mapping.MaxDeltaE, difference);
            ++opaque;
        }
    }
    mapping.MeanDeltaE = opaque == 0 ? 0 : sum / static_cast<double>(opaque);
}

} // namespace

TPaletteMapping MapToPalette(
    const std::vector<uint16_t>& rgba, uint32_t width, const TTargetPalette& palette, bool dither)
{
    const TNearestColour nearest(palette);
    TPaletteMapping mapping;
    mapping.Indices = dither ? MapDithered(rgba, width, nearest) : MapPlain(rgba, nearest, mapping);
    if (dither)
        MeasureDithered(rgba, width, nearest, mapping);
    const auto key = static_cast<uint8_t>(palette.TransparentIndex);
    for (std::size_t i = 0; i < mapping.Indices.size(); ++i) {
        if (IsClearAlpha(rgba[4 * i + 3])) {
            mapping.Indices[i] = key;
            mapping.Transparent = true;
        }
    }
    return mapping;
}

std::optional<uint8_t> TransparentIndexOf(const TIndexedPicture& picture, const std::string& path)
{
    const std::string quoted = "\"" + path + "\"";
    std::array<bool, 256> used {};
    for (uint8_t v : picture.Pixels)
        used[v] = true;
    std::vector<std::size_t> clear;
    std::vector<std::size_t> clearUsed;
    for (std::size_t i = 0; i < picture.Alpha.size() && i < used.size(); ++i) {
        const uint8_t alpha = picture.Alpha[i];
        if (alpha == 0) {
            clear.push_back(i);
            if (used[i])
                clearUsed.push_back(i);
        } else if (alpha != 255 && used[i]) {
            throw KelException("pack: " + quoted + " uses palette entry " + std::to_string(i)
                + ", which is partly transparent (alpha " + std::to_string(alpha)
                + "); only fully transparent entries can be stored");
        }
    }
    if (clearUsed.size() > 1) {
        throw KelException("pack: " + quoted + " uses the fully transparent palette entries "
            + std::to_string(clearUsed[0]) + " and " + std::to_string(clearUsed[1])
            + "; an image can have only one transparent index");
    }
    if (clear.empty())
        return std::nullopt;
    return static_cast<uint8_t>(clearUsed.empty() ? clear[0] : clearUsed[0]);
}
