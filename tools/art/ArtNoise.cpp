#include "art/ArtNoise.h"

#include "common/KelException.h"

#include <cmath>

namespace {

uint32_t Mix32(uint32_t value)
{
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

double Smooth(double t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}

int32_t Wrap(int32_t value, int32_t count)
{
    return ((value % count) + count) % count;
}

} // namespace

double HashUnit(uint32_t seed, int32_t a, int32_t b)
{
    const uint32_t inner = Mix32(static_cast<uint32_t>(b) + 0x9E3779B9u);
    const uint32_t hash = Mix32(seed ^ Mix32(static_cast<uint32_t>(a) ^ inner));
    return (hash & 0xFFFFFFu) / double(0x1000000);
}

TPeriodicNoise::TPeriodicNoise(uint32_t seed, int32_t period, int32_t cellsX, int32_t cellsY)
    : FSeed(seed)
    , FPeriod(period)
    , FCellsX(cellsX)
    , FCellsY(cellsY)
{
    if (period <= 0 || cellsX <= 0 || cellsY <= 0)
        throw KelException("TPeriodicNoise: period and cells must be positive");
}

double TPeriodicNoise::Lattice(
    int32_t ix, int32_t iy, int32_t cellsX, int32_t cellsY, uint32_t octave) const
{
    return HashUnit(FSeed + octave * 0x68E31DA4u, Wrap(ix, cellsX), Wrap(iy, cellsY)) * 2 - 1;
}

double TPeriodicNoise::Octave(
    double x, double y, int32_t cellsX, int32_t cellsY, uint32_t octave) const
{
    const double u = x * cellsX / FPeriod;
    const double v = y * cellsY / FPeriod;
    const double fu = std::floor(u);
    const double fv = std::floor(v);
    const auto ix = static_cast<int32_t>(fu);
    const auto iy = static_cast<int32_t>(fv);
    const double tu = Smooth(u - fu);
    const double tv = Smooth(v - fv);
    const double topLeft = Lattice(ix, iy, cellsX, cellsY, octave);
    const double topRight = Lattice(ix + 1, iy, cellsX, cellsY, octave);
    const double bottomLeft = Lattice(ix, iy + 1, cellsX, cellsY, octave);
    const double bottomRight = Lattice(ix + 1, iy + 1, cellsX, cellsY, octave);
    const double top = topLeft + (topRight - topLeft) * tu;
    const double bottom = bottomLeft + (bottomRight - bottomLeft) * tu;
    return top + (bottom - top) * tv;
}

double TPeriodicNoise::At(double x, double y) const
{
    return Octave(x, y, FCellsX, FCellsY, 0);
}

double TPeriodicNoise::Fractal(double x, double y, int32_t octaves) const
{
    double sum = 0;
    double weight = 1;
    double total = 0;
    for (int32_t octave = 0; octave < octaves; ++octave) {
        const int32_t scale = 1 << octave;
        sum += Octave(x, y, FCellsX * scale, FCellsY * scale, static_cast<uint32_t>(octave))
            * weight;
        total += weight;
        weight /= 2;
    }
    return sum / total;
}
