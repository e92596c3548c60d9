#pragma once

#include <cstdint>

#include "Random.h"

// One tone generator of the sound synthesis: keeps its phase while its frequency changes, so that a
// sweep has no clicks; also the noise the sounds are made of.
class Oscillator {
public:
    enum class Shape { sine, triangle, saw, square, noise };

    explicit Oscillator(Shape shape, uint64_t seed = 1);

    // The next sample, in [-1, 1], of a tone at `frequency` hertz.
    double next(double frequency);

    // A note's frequency in hertz: semitones above (or below) A 440.
    static double noteFrequency(double semitones);

private:
    Shape shape;
    double phase;  // in turns, [0, 1)
    Random random;
};
