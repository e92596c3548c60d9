#pragma once

#include "MeshBuilder.h"

// The grass plain at height 0 under and around the track: fine squares where the camera sees it
// close up, growing wider towards the horizon.
class GroundBuilder {
public:
    // `detail` is the area (in x and z) that gets the fine squares.
    explicit GroundBuilder(const Bounds& detail);

    MeshBuilder build() const;

    static constexpr double fineSpacing = 40.0;
    static constexpr double extent = 3000.0;  // the plain reaches this far from the origin
    static constexpr double tile = 16.0;      // units per repeat of the grass texture

private:
    Bounds detail;
};
