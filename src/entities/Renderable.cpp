#include "entities/Renderable.h"

#include <cmath>

#include <GL/gl.h>

Renderable::Renderable()
    : scale{1.0f, 1.0f, 1.0f},
      displayList(0),
      nonUniformScale(false),
      uniformScale(false),
      mirrored(false),
      radius(-1.0f),
      scaledRadius(-1.0f),
      center(0, 0, 0) {}

Renderable::~Renderable() {
    if (displayList != 0) glDeleteLists(displayList, 1);
}

float Renderable::getBoundingRadius() { return scaledRadius; }

btVector3 Renderable::getBoundingCenter() { return center; }

void Renderable::setScale(float x, float y, float z) {
    scale[0] = x;
    scale[1] = y;
    scale[2] = z;
    if (x == y && x == z) {
        nonUniformScale = false;
        uniformScale = (x != 1.0f);
        scaledRadius = radius * x;
    } else {
        nonUniformScale = true;
        uniformScale = false;
        float ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
        float largest = (ax > ay && ax > az) ? ax : (ay > az ? ay : az);
        scaledRadius = radius * largest;
    }
    mirrored = (x < 0 || y < 0 || z < 0);
}
