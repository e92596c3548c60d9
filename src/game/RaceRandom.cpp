#include "game/RaceRandom.h"

void RaceRandom::reseed(uint32_t seed) { state = seed; }

int RaceRandom::next() {
    // SplitMix64: every seed, 0 included, gives a well-mixed sequence.
    state += 0x9e3779b97f4a7c15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return static_cast<int>(z >> 33);
}
