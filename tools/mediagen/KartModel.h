#pragma once

#include "MeshBuilder.h"

// The kart: a body with its driver and rear wheels, facing +Z with its left side at +X, its origin
// at the centre of its bounding box (3 wide, 1.6 high, 4.5 long), and the front wheel the game
// draws twice at the front corners. The front wheels are not part of the body.
class KartModel {
public:
    // Pose 0 drives straight; poses 1 to 6 lean a further `leanStepDegrees` each into a left
    // turn (the top towards +X), the driver twice as far. The game mirrors them for right turns.
    static MeshBuilder body(int pose);
    // One front wheel: its axle along X, centred on the origin.
    static MeshBuilder wheel();

    static constexpr double leanStepDegrees = 2.0;
};
