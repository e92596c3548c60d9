#include "TileNoise.h"

#include <cmath>

#include "Random.h"

TileNoise::TileNoise(int cells, uint64_t seed) : cells(cells), values(static_cast<size_t>(cells * cells)) {
    Random random(seed);
    for (double& value : values) value = random.uniform();
}

double TileNoise::lattice(int i, int j) const {
    i = ((i % cells) + cells) % cells;
    j = ((j % cells) + cells) % cells;
    return values[static_cast<size_t>(j * cells + i)];
}

double TileNoise::at(double u, double v) const {
    const double x = u * cells, y = v * cells;
    const int i = static_cast<int>(std::floor(x)), j = static_cast<int>(std::floor(y));
    const double fx = x - i, fy = y - j;
    // Smoothstep weights hide the lattice.
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double bottom = lattice(i, j) + (lattice(i + 1, j) - lattice(i, j)) * sx;
    const double top = lattice(i, j + 1) + (lattice(i + 1, j + 1) - lattice(i, j + 1)) * sx;
    return bottom + (top - bottom) * sy;
}

double TileNoise::fractal(double u, double v, int octaves) const {
    double sum = 0, weight = 1, total = 0, frequency = 1;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += at(u * frequency, v * frequency) * weight;
        total += weight;
        weight *= 0.5;
        frequency *= 2;
    }
    return sum / total;
}
