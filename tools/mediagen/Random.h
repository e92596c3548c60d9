#pragma once

#include <cstdint>

// Small fixed-seed generator (xorshift64*): the media come out the same on every run and platform.
class Random {
public:
    explicit Random(uint64_t seed);

    uint32_t next();
    // Uniform in [0, 1).
    double uniform();
    // Uniform in [low, high).
    double range(double low, double high);

private:
    uint64_t state;
};
