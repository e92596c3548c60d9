#pragma once

// One-pole low-pass filter: follows its input with a lag, softening noise and square edges.
class Smoother {
public:
    // `cutoff` in hertz at the synthesis rate.
    explicit Smoother(double cutoff);
    double next(double input);

private:
    double share;  // of the distance to the input covered per sample
    double value;
};
