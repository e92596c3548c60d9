#pragma once

#include <vector>

#include <LinearMath/btTransform.h>

#include "entities/Renderable.h"

class Mesh;

// A short-lived copy of a small mesh that grows and fades out.
struct Particle : public Renderable {
    Particle(const btTransform& transform, const btVector3& velocity, float size, float alpha, Mesh* mesh);
    ~Particle() override;

    void render() override;
    float getBoundingRadius() override;
    btVector3 getBoundingCenter() override;

    Mesh* mesh;       // the emitter's mesh, not owned
    float sortKey;    // squared distance to the eye at the last drawing
    btTransform transform;
    btVector3 velocity;  // units per second
    float size;       // uniform scale of the mesh
    float alpha;      // opacity
    size_t registryIndex;  // place in allParticles, for removal without a search

    static std::vector<Particle*> allParticles;  // every living particle, not owned
};
