#include "Random.h"

Random::Random(uint64_t seed) : state(seed ? seed : 0x9E3779B97F4A7C15ull) {}

uint32_t Random::next() {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return static_cast<uint32_t>((state * 0x2545F4914F6CDD1Dull) >> 32);
}

double Random::uniform() { return next() / 4294967296.0; }

double Random::range(double low, double high) { return low + (high - low) * uniform(); }
