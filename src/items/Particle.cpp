#include "items/Particle.h"

#include <GL/glew.h>

#include "assets/Mesh.h"

std::vector<Particle*> Particle::allParticles;

Particle::Particle(const btTransform& transform, const btVector3& velocity, float size, float alpha, Mesh* mesh)
    : mesh(mesh), sortKey(0), transform(transform), velocity(velocity), size(size), alpha(alpha) {
    radius = mesh->getBoundingRadius();
    registryIndex = allParticles.size();
    allParticles.push_back(this);
}

Particle::~Particle() {
    // The registry's order carries no meaning: the last particle takes this one's place.
    Particle* last = allParticles.back();
    allParticles[registryIndex] = last;
    last->registryIndex = registryIndex;
    allParticles.pop_back();
}

void Particle::render() {
    glPushMatrix();
    btScalar matrix[16];
    transform.getOpenGLMatrix(matrix);
    glMultMatrixf(matrix);
    glScalef(size, size, size);
    if (glBlendColor) glBlendColor(1, 1, 1, alpha);
    mesh->render();
    glPopMatrix();
}

float Particle::getBoundingRadius() { return size * radius; }

btVector3 Particle::getBoundingCenter() { return transform.getOrigin(); }
