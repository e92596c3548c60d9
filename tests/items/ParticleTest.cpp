#include <cmath>

#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "items/Particle.h"
#include "items/ParticleEmitter.h"
#include "support/TestWorld.h"

namespace {

btTransform at(float x, float y, float z) { return btTransform(btQuaternion::getIdentity(), btVector3(x, y, z)); }

}  // namespace

TEST(Particles, SortedFarthestFirstTakenAlongWithTheirEmitterAndTheyGrowThreefoldAndFadeTwentySevenfoldPerSecond) {
    ParticleEmitter keeper(makeBoxMesh(btVector3(1, 1, 1)));
    {
        ParticleEmitter emitter(makeBoxMesh(btVector3(1, 1, 1)));
        for (float z : {5, 50, 1, 20, 20, 7, 300, 2, 0, 13}) emitter.emit(at(0, 0, z), btVector3(0, 0, 0), 1, 1);
        keeper.emit(at(1, 0, 0), btVector3(0, 2, 0), 1, 1);
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

    keeper.update(0.5f);
    keeper.update(0.5f);  // two half seconds make one second
    Particle* particle = keeper.particles.at(0);
    EXPECT_NEAR(particle->size, 3.0f, 1e-5f);
    EXPECT_NEAR(particle->alpha, 1.0f / 27, 1e-6f);
    EXPECT_NEAR(particle->transform.getOrigin().y(), 2.0f, 1e-6f);
    EXPECT_NEAR(particle->getBoundingRadius(), 3 * std::sqrt(3.0f), 1e-4f) << "grows with the mesh's radius";
    keeper.update(1.0f);  // 1/729 is below the visible limit
    EXPECT_TRUE(Particle::allParticles.empty());
}
