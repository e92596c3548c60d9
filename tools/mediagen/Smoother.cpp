#include "Smoother.h"

#include "PortableMath.h"
#include "SoundBuffer.h"

namespace {

const double pi = 3.14159265358979323846;

}  // namespace

Smoother::Smoother(double cutoff)
    : share(1 - portable::exp(-2 * pi * cutoff / SoundBuffer::sampleRate)), value(0) {}

double Smoother::next(double input) {
    value += (input - value) * share;
    return value;
}
