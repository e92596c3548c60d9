#pragma once

#include <string>
#include <vector>

#include "Vec3.h"

// A rotation as the scene file stores it.
struct Quaternion {
    double x = 0;
    double y = 0;
    double z = 0;
    double w = 1;

    // Turn about +Y: 0 faces +Z, a quarter turn faces +X.
    static Quaternion yaw(double radians);
    // The rotation whose matrix has the given (orthonormal, right-handed) columns.
    static Quaternion fromBasis(const Basis& basis);
};

// One object of the level: a mesh placed in the world, with the properties the level loader reads.
struct SceneNode {
    std::string name;
    std::string meshFile;  // without the final ".xml"
    Vec3 position;
    Quaternion rotation;
    Vec3 scale{1, 1, 1};
    std::string type;  // "terrain", "extrafield", "vehicle" or a scenery kind
    double mass = 0;   // written only when not 0: movable objects
};

// Writes the scene file the level loader reads.
class SceneWriter {
public:
    static std::string toXml(const std::vector<SceneNode>& nodes);
};
