#include <cmath>

#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "items/Particle.h"
#include "items/ParticleEmitter.h"
#include "support/TestWorld.h"

namespace {

btTransform at(float x, float y, float z) { return btTransform(btQuaternion::getIdentity(), btVector3(x, y, z)); }

boost::shared_ptr<Mesh> dust() { return makeBoxMesh(btVector3(1, 1, 1)); }

}  // namespace

TEST(Particles, OnlyVisibleOnesLiveAndTheyGrowThreefoldAndFadeTwentySevenfoldPerSecond) {
    ParticleEmitter emitter(dust());
    emitter.emit(at(0, 0, 0), btVector3(0, 2, 0), 1, 0.01f);
    EXPECT_TRUE(emitter.particles.empty());
    emitter.emit(at(0, 0, 0), btVector3(0, 2, 0), 1, 0.011f);
    ASSERT_EQ(Particle::allParticles.size(), 1u);
    EXPECT_FLOAT_EQ(emitter.particles[0]->radius, std::sqrt(3.0f)) << "the mesh's bounding radius";
    emitter.update(0.1f);  // 0.011 / 27^0.1 is below the visible limit
    EXPECT_TRUE(emitter.particles.empty());

    emitter.emit(at(0, 0, 0), btVector3(0, 2, 0), 1, 1);
    emitter.update(1.0f);
    Particle* particle = emitter.particles.at(0);
    EXPECT_NEAR(particle->size, 3.0f, 1e-5f);
    EXPECT_NEAR(particle->alpha, 1.0f / 27, 1e-6f);
    EXPECT_NEAR(particle->transform.getOrigin().y(), 2.0f, 1e-6f);
    EXPECT_NEAR(particle->getBoundingRadius(), 3 * std::sqrt(3.0f), 1e-4f);
    emitter.update(1.0f);  // 1/729 is below the visible limit
    EXPECT_TRUE(Particle::allParticles.empty());

    emitter.emit(at(0, 0, 0), btVector3(0, 2, 0), 1, 1);
    emitter.update(0.5f);
    emitter.update(0.5f);
    EXPECT_NEAR(emitter.particles.at(0)->size, 3.0f, 1e-5f) << "two half seconds make one second";
    EXPECT_NEAR(emitter.particles.at(0)->alpha, 1.0f / 27, 1e-6f);
}

TEST(Particles, SortedFarthestFirstAndTakenAlongWithTheirEmitter) {
    ParticleEmitter keeper(dust());
    {
        ParticleEmitter emitter(dust());
        const float distances[] = {5, 50, 1, 20, 20, 7, 300, 2, 0, 13};
        for (float z : distances) emitter.emit(at(0, 0, z), btVector3(0, 0, 0), 1, 1);
        keeper.emit(at(1, 0, 0), btVector3(0, 0, 0), 1, 1);
        EXPECT_EQ(ParticleEmitter::allEmitters.size(), 2u);
        ParticleEmitter::sortParticles(btVector3(0, 0, -1));
        const std::vector<Particle*>& all = Particle::allParticles;
        ASSERT_EQ(all.size(), 11u);
        for (size_t i = 1; i < all.size(); ++i) EXPECT_GE(all[i - 1]->sortKey, all[i]->sortKey);
        EXPECT_FLOAT_EQ(all.front()->transform.getOrigin().z(), 300);
    }
    // Removal still finds each particle after the reorder.
    ASSERT_EQ(Particle::allParticles.size(), 1u);
    EXPECT_EQ(Particle::allParticles[0], keeper.particles[0]);
    EXPECT_EQ(ParticleEmitter::allEmitters.size(), 1u);
    keeper.update(10.0f);
    EXPECT_TRUE(Particle::allParticles.empty());
}
