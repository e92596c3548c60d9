#include "items/ParticleEmitter.h"

#include <algorithm>
#include <cmath>

#include <GL/gl.h>

#include "game/Game.h"
#include "game/RenderSettings.h"
#include "items/Particle.h"

std::vector<ParticleEmitter*> ParticleEmitter::allEmitters;

namespace {

const double growthPerSecond = 3.0;  // size triples per second; opacity keeps 1/27 per second

// Farthest first; sorts pointers in place without allocating.
void sortFarthestFirst(std::vector<Particle*>& particles, int lower, int upper) {
    int left = lower, right = upper;
    const float pivot = particles[(lower + upper) / 2]->sortKey;
    while (left <= right) {
        while (particles[left]->sortKey > pivot) ++left;
        while (pivot > particles[right]->sortKey) --right;
        if (left <= right) {
            std::swap(particles[left], particles[right]);
            ++left;
            --right;
        }
    }
    if (lower < right) sortFarthestFirst(particles, lower, right);
    if (left < upper) sortFarthestFirst(particles, left, upper);
}

}  // namespace

ParticleEmitter::ParticleEmitter(boost::shared_ptr<Mesh> mesh) : mesh(mesh) { allEmitters.push_back(this); }

ParticleEmitter::~ParticleEmitter() {
    for (Particle* particle : particles) delete particle;
    allEmitters.erase(std::remove(allEmitters.begin(), allEmitters.end(), this), allEmitters.end());
}

void ParticleEmitter::emit(const btTransform& transform, const btVector3& velocity, float size, float alpha) {
    if (!(alpha > minimumAlpha)) return;
    particles.push_back(new Particle(transform, velocity, size, alpha, mesh.get()));
}

void ParticleEmitter::update(float dt) {
    const float growth = static_cast<float>(std::pow(growthPerSecond, static_cast<double>(dt)));
    const float fade = 1.0f / (growth * growth * growth);
    for (size_t i = particles.size(); i-- > 0;) {
        Particle* particle = particles[i];
        particle->transform.getOrigin() += particle->velocity * dt;
        particle->size *= growth;
        particle->alpha *= fade;
        if (particle->alpha < minimumAlpha) {
            particles[i] = particles.back();
            particles.pop_back();
            delete particle;
        }
    }
}

void ParticleEmitter::sortParticles(const btVector3& eye) {
    std::vector<Particle*>& all = Particle::allParticles;
    for (Particle* particle : all) particle->sortKey = particle->transform.getOrigin().distance2(eye);
    if (all.size() >= 2) sortFarthestFirst(all, 0, static_cast<int>(all.size()) - 1);
    for (size_t i = 0; i < all.size(); ++i) all[i]->registryIndex = i;
}

void ParticleEmitter::drawParticles(Game* game, const btVector3& eye) {
    sortParticles(eye);
    glEnable(GL_RESCALE_NORMAL);
    if (renderSettings.transparency) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    }
    for (Particle* particle : Particle::allParticles) {
        if (game->isVisible(particle)) particle->render();
    }
    glDisable(GL_BLEND);
    glDisable(GL_RESCALE_NORMAL);
}
