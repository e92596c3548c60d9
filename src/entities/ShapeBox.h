#pragma once

#include <LinearMath/btVector3.h>

class btCollisionShape;

// Axis-aligned box of a shape in its own frame (identity transform), margin included.
struct ShapeBox {
    explicit ShapeBox(const btCollisionShape& shape);
    btVector3 halfExtents() const { return (max - min) * 0.5f; }

    btVector3 min;
    btVector3 max;
};
