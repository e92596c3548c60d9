#pragma once

#include <cstdint>
#include <vector>

// Smooth value noise on a square lattice that wraps around, so textures painted with it tile
// without seams. Values lie in [0, 1].
class TileNoise {
public:
    // `cells` lattice cells across one tile; `seed` picks the pattern.
    TileNoise(int cells, uint64_t seed);

    // u, v in tile units (1 = one tile); wraps.
    double at(double u, double v) const;
    // Sum of `octaves` layers, each with twice the frequency and half the weight; still in [0, 1].
    double fractal(double u, double v, int octaves) const;

private:
    double lattice(int i, int j) const;

    int cells;
    std::vector<double> values;
};
