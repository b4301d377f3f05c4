#pragma once

#include <cstdint>

// Smooth value noise that repeats every Period pixels in both directions, so that textures made
// from it tile without seams. The seed fixes the pattern: the same seed gives the same picture.
class TPeriodicNoise {
public:
    // cellsX, cellsY: lattice cells across one period (the feature size is period / cells), so
    // unequal counts stretch the features along one axis.
    TPeriodicNoise(uint32_t seed, int32_t period, int32_t cellsX, int32_t cellsY);
    // Noise at a point, from -1 to 1.
    double At(double x, double y) const;
    // Sum of octaves, each with twice the cells and half the weight of the one before; -1 to 1.
    double Fractal(double x, double y, int32_t octaves) const;

private:
    double Lattice(int32_t ix, int32_t iy, int32_t cellsX, int32_t cellsY, uint32_t octave) const;
    double Octave(double x, double y, int32_t cellsX, int32_t cellsY, uint32_t octave) const;

    uint32_t FSeed;
    int32_t FPeriod;
    int32_t FCellsX;
    int32_t FCellsY;
};

// A deterministic hash of a few integers to 0 .. 1, for placing details.
double HashUnit(uint32_t seed, int32_t a, int32_t b);
