#pragma once

struct Circuit;

// Circuit 0, laid by hand: twenty pieces with two straights solved to close the loop, one climb
// and one descent, and the classic green, red and blue look.
class ClassicCircuit {
public:
    static Circuit build();
};
