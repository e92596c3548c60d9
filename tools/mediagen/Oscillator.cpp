#include "Oscillator.h"

#include "PortableMath.h"
#include "SoundBuffer.h"

namespace {

const double pi = 3.14159265358979323846;

}  // namespace

Oscillator::Oscillator(Shape shape, uint64_t seed) : shape(shape), phase(0), random(seed) {}

double Oscillator::next(double frequency) {
    double value = 0;
    switch (shape) {
        case Shape::sine:
            value = portable::sin(2 * pi * phase);
            break;
        case Shape::triangle:
            value = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
            break;
        case Shape::saw:
            value = 2 * phase - 1;
            break;
        case Shape::square:
            value = phase < 0.5 ? 1 : -1;
            break;
        case Shape::noise:
            value = random.range(-1, 1);
            break;
    }
    phase += frequency / SoundBuffer::sampleRate;
    phase -= static_cast<double>(static_cast<long>(phase));
    return value;
}

double Oscillator::noteFrequency(double semitones) { return 440 * portable::pow(2, semitones / 12); }
