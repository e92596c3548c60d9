#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

class btTransform;
class btVector3;
class Game;
class Mesh;
struct Particle;

// Owns the particles it emits; they all draw one shared mesh.
class ParticleEmitter {
public:
    explicit ParticleEmitter(boost::shared_ptr<Mesh> mesh);
    ~ParticleEmitter();
    ParticleEmitter(const ParticleEmitter&) = delete;
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;

    // Creates a particle unless it would be all but invisible.
    void emit(const btTransform& transform, const btVector3& velocity, float size, float alpha);
    // Moves, grows and fades the particles; deletes those that have faded out.
    void update(float dt);

    // Sorts every particle farthest first from the eye and draws the visible ones, blended.
    static void drawParticles(Game* game, const btVector3& eye);
    static void sortParticles(const btVector3& eye);

    std::vector<Particle*> particles;  // owned
    boost::shared_ptr<Mesh> mesh;

    static std::vector<ParticleEmitter*> allEmitters;  // not owned
    static constexpr float minimumAlpha = 0.01f;
};
