#pragma once

#include <LinearMath/btVector3.h>

// Base of everything that is drawn: scale, cached display list and bounding sphere.
class Renderable {
public:
    Renderable();
    virtual ~Renderable();

    virtual void render() = 0;
    virtual float getBoundingRadius();
    virtual btVector3 getBoundingCenter();

    // Stores the factors and derives the normal flags and scaledRadius from them.
    void setScale(float x, float y, float z);

    float scale[3];
    unsigned int displayList;  // GL list recorded by mesh drawing, 0 = none
    bool nonUniformScale;      // factors differ: normals need GL_NORMALIZE
    bool uniformScale;         // factors equal but not 1: GL_RESCALE_NORMAL is enough
    bool mirrored;             // some factor is negative: front faces turn clockwise
    float radius;              // bounding radius before this object's own scale, negative = not known yet
    float scaledRadius;
    btVector3 center;
};
