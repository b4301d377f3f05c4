#include "art/ArtPalette.h"

#include "art/ArtColours.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace {

using TLab = std::array<double, 3>;

constexpr int32_t KMeansRounds = 10;

struct TSample {
    uint32_t Rgb = 0;
    TLab Lab {};
    double Weight = 0;
};

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Gamma(double channel)
{
    const double value
        = channel <= 0.0031308 ? channel * 12.92 : 1.055 * std::pow(channel, 1 / 2.4) - 0.055;
    return std::clamp(value, 0.0, 1.0);
}

// Oklab: distances there follow perceived colour differences closely enough for quantising.
TLab ToLab(uint32_t rgb)
{
    const double r = Linear(((rgb >> 16) & 0xFF) / 255.0);
    const double g = Linear(((rgb >> 8) & 0xFF) / 255.0);
    const double b = Linear((rgb & 0xFF) / 255.0);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
        1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
        0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

TPaletteColour FromLab(const TLab& lab)
{
    const double l = std::pow(lab[0] + 0.3963377774 * lab[1] + 0.2158037573 * lab[2], 3);
    const double m = std::pow(lab[0] - 0.1055613458 * lab[1] - 0.0638541728 * lab[2], 3);
    const double s = std::pow(lab[0] - 0.0894841775 * lab[1] - 1.2914855480 * lab[2], 3);
    const double r = 4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s;
    const double g = -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s;
    const double b = -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s;
    auto byte
        = [](double channel) { return static_cast<uint8_t>(std::lround(Gamma(channel) * 255)); };
    return {byte(r), byte(g), byte(b)};
}

uint32_t PackColour(const TArtColour& colour)
{
    auto byte = [](double channel) {
        return static_cast<uint32_t>(std::lround(std::clamp(channel, 0.0, 1.0) * 255));
    };
    return (byte(colour.R) << 16) | (byte(colour.G) << 8) | byte(colour.B);
}

uint32_t PackColour(const TPaletteColour& colour)
{
    return (uint32_t(colour.R) << 16) | (uint32_t(colour.G) << 8) | colour.B;
}

double Distance(const TLab& a, const TLab& b)
{
    const double dl = a[0] - b[0];
    const double da = a[1] - b[1];
    const double db = a[2] - b[2];
    return dl * dl + da * da + db * db;
}

std::vector<TSample> CollectSamples(const std::vector<TArtPicture>& pictures)
{
    std::map<uint32_t, double> weights;
    for (const TArtPicture& picture : pictures) {
        for (std::size_t i = 0; i < picture.Colours.size(); ++i) {
            if (picture.Covered[i] != 0)
                weights[PackColour(picture.Colours[i])] += picture.Weight;
        }
    }
    std::vector<TSample> samples;
    samples.reserve(weights.size());
    for (const auto& [rgb, weight] : weights)
        samples.push_back({rgb, ToLab(rgb), weight});
    return samples;
}

struct TBox {
    std::vector<std::size_t> Members;
    double Error = 0;
    TLab Mean {};
};

void Measure(TBox& box, const std::vector<TSample>& samples)
{
    double total = 0;
    TLab sum {};
    for (std::size_t index : box.Members) {
        total += samples[index].Weight;
        for (int32_t c = 0; c < 3; ++c)
            sum[c] += samples[index].Lab[c] * samples[index].Weight;
    }
    for (int32_t c = 0; c < 3; ++c)
        box.Mean[c] = sum[c] / total;
    box.Error = 0;
    for (std::size_t index : box.Members)
        box.Error += Distance(samples[index].Lab, box.Mean) * samples[index].Weight;
}

// Splits the box at the weighted median of its widest channel (by weighted variance).
std::pair<TBox, TBox> Split(const TBox& box, const std::vector<TSample>& samples)
{
    TLab variance {};
    for (std::size_t index : box.Members) {
        for (int32_t c = 0; c < 3; ++c) {
            const double d = samples[index].Lab[c] - box.Mean[c];
            variance[c] += d * d * samples[index].Weight;
        }
    }
    const auto axis = static_cast<std::size_t>(
        std::max_element(variance.begin(), variance.end()) - variance.begin());
    std::vector<std::size_t> members = box.Members;
    std::stable_sort(members.begin(), members.end(),
        [&](std::size_t a, std::size_t b) { return samples[a].Lab[axis] < samples[b].Lab[axis]; });
    double total = 0;
    for (std::size_t index : members)
        total += samples[index].Weight;
    double running = 0;
    std::size_t cut = 1;
    for (; cut < members.size(); ++cut) {
        running += samples[members[cut - 1]].Weight;
        if (running >= total / 2)
            break;
    }
    cut = std::clamp<std::size_t>(cut, 1, members.size() - 1);
    TBox low, high;
    low.Members.assign(members.begin(), members.begin() + static_cast<std::ptrdiff_t>(cut));
    high.Members.assign(members.begin() + static_cast<std::ptrdiff_t>(cut), members.end());
    Measure(low, samples);
    Measure(high, samples);
    return {low, high};
}

std::vector<TLab> MedianCut(const std::vector<TSample>& samples, std::size_t count)
{
    std::vector<TBox> boxes(1);
    boxes[0].Members.resize(samples.size());
    std::iota(boxes[0].Members.begin(), boxes[0].Members.end(), std::size_t {0});
    Measure(boxes[0], samples);
    while (boxes.size() < count) {
        std::size_t worst = boxes.size();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].Members.size() > 1
                && (worst == boxes.size() || boxes[i].Error > boxes[worst].Error))
                worst = i;
        }
        if (worst == boxes.size())
            break;
        auto [low, high] = Split(boxes[worst], samples);
        boxes[worst] = std::move(low);
        boxes.push_back(std::move(high));
    }
    std::vector<TLab> centres;
    centres.reserve(boxes.size());
    for (const TBox& box : boxes)
        centres.push_back(box.Mean);
    return centres;
}

std::size_t Nearest(const TLab& lab, const std::vector<TLab>& centres)
{
    std::size_t best = 0;
    double bestDistance = Distance(lab, centres[0]);
    for (std::size_t i = 1; i < centres.size(); ++i) {
        const double d = Distance(lab, centres[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// Lloyd rounds over the free centres; the fixed colours (first in `centres`) attract samples
// but do not move.
void RefineCentres(
    const std::vector<TSample>& samples, std::vector<TLab>& centres, std::size_t fixedCount)
{
    for (int32_t round = 0; round < KMeansRounds; ++round) {
        std::vector<TLab> sums(centres.size(), TLab {});
        std::vector<double> totals(centres.size(), 0);
        for (const TSample& sample : samples) {
            const std::size_t nearest = Nearest(sample.Lab, centres);
            totals[nearest] += sample.Weight;
            for (int32_t c = 0; c < 3; ++c)
                sums[nearest][c] += sample.Lab[c] * sample.Weight;
        }
        for (std::size_t i = fixedCount; i < centres.size(); ++i) {
            if (totals[i] > 0) {
                for (int32_t c = 0; c < 3; ++c)
                    centres[i][c] = sums[i][c] / totals[i];
            }
        }
    }
}

TPaletteColour ToPaletteColour(const TArtColour& colour)
{
    const uint32_t rgb = PackColour(colour);
    return {
        static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
}

} // namespace

TArtPalette BuildPalette(const std::vector<TArtPicture>& pictures)
{
    const std::vector<std::pair<int32_t, TArtColour>> reserved
        = {{BlackSlot, Paint::Black}, {WhiteSlot, Paint::White}, {EdgeLineSlot, Paint::EdgeLine},
            {GridLineSlot, Paint::GridLine}};
    std::vector<TLab> centres;
    centres.reserve(reserved.size());
    for (const auto& [slot, colour] : reserved)
        centres.push_back(ToLab(PackColour(colour)));
    const std::size_t fixedCount = centres.size();
    const std::size_t freeSlots = 256 - fixedCount - 1;

    const std::vector<TSample> samples = CollectSamples(pictures);
    if (!samples.empty()) {
        for (const TLab& centre : MedianCut(samples, freeSlots))
            centres.push_back(centre);
        RefineCentres(samples, centres, fixedCount);
    }

    std::vector<TPaletteColour> found;
    for (std::size_t i = fixedCount; i < centres.size(); ++i)
        found.push_back(FromLab(centres[i]));
    std::stable_sort(
        found.begin(), found.end(), [](const TPaletteColour& a, const TPaletteColour& b) {
            return PackColour(a) < PackColour(b);
        });

    TArtPalette palette {};
    std::vector<bool> taken(256, false);
    for (const auto& [slot, colour] : reserved) {
        palette[static_cast<std::size_t>(slot)] = ToPaletteColour(colour);
        taken[static_cast<std::size_t>(slot)] = true;
    }
    palette[TransparentKeySlot] = ToPaletteColour(Paint::Key);
    taken[TransparentKeySlot] = true;
    std::size_t next = 0;
    for (std::size_t slot = 0; slot < 256; ++slot) {
        if (taken[slot])
            continue;
        // Slots the pictures do not need repeat black rather than stay undefined.
        palette[slot] = next < found.size() ? found[next++] : palette[BlackSlot];
    }
    return palette;
}

TIndexedPicture MapToPalette(const TArtPicture& picture, const TArtPalette& palette)
{
    std::vector<TLab> entries;
    for (const TPaletteColour& colour : palette)
        entries.push_back(ToLab(PackColour(colour)));
    // The key's colour must never be chosen for a drawn pixel.
    entries[TransparentKeySlot] = {1e9, 1e9, 1e9};

    TIndexedPicture indexed {picture.Name, picture.Width, picture.Height, picture.Transparent, {}};
    indexed.Pixels.resize(picture.Colours.size());
    std::map<uint32_t, uint8_t> cache;
    for (std::size_t i = 0; i < picture.Colours.size(); ++i) {
        if (picture.Covered[i] == 0) {
            indexed.Pixels[i] = TransparentKeySlot;
            continue;
        }
        const uint32_t rgb = PackColour(picture.Colours[i]);
        auto found = cache.find(rgb);
        if (found == cache.end())
            found = cache.emplace(rgb, static_cast<uint8_t>(Nearest(ToLab(rgb), entries))).first;
        indexed.Pixels[i] = found->second;
    }
    return indexed;
}
