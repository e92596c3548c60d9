#pragma once

#include <vector>

#include "Image.h"

struct Circuit;

// Top-down pictures of circuits: the road between its barriers (lighter where it runs higher), the
// start line, the rows of pick-up fields and the checkpoints, on the circuit's own ground colour
// and labelled with its number. Circuits side by side share one scale, so their sizes compare.
class CircuitMap {
public:
    // `columns` tiles across, each `tileSize` pixels square, in the order given.
    static Image sheet(const std::vector<Circuit>& circuits, int columns, int tileSize);

private:
    static void drawTile(Image& image, const Circuit& circuit, int left, int bottom, int tileSize, double scale);
};
