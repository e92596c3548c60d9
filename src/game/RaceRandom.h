#pragma once

#include <cstdint>

// The race's own random draws (items, computer item timing, dust). Not the C library's rand(): any
// library in the process may draw from that, and a race must draw the same numbers from the same
// seed in the game, the race runner and a replay.
class RaceRandom {
public:
    explicit RaceRandom(uint32_t seed = 1) { reseed(seed); }
    void reseed(uint32_t seed);
    // A number from 0 to 2^31 - 1, like rand() where RAND_MAX is that.
    int next();

private:
    uint64_t state;
};
