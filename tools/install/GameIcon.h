#pragma once

#include "Image.h"

// The game's menu icon: a red kart on a loop of road over grass, seen from above, with the start
// line behind it. Drawn from shapes in the unit square, so every size shows the same picture.
class GameIcon {
public:
    // The icon `size` pixels square; each pixel is the mean of a grid of samples, for smooth edges.
    static Image draw(int size);

private:
    // The colour at a point of the unit square, y up.
    static Color at(double x, double y);
};
