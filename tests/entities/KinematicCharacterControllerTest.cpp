#include <cmath>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/CharacterEntity.h"
#include "entities/StaticEntity.h"
#include "game/Game.h"
#include "support/TestWorld.h"

namespace {

// A character that only moves: no reaction to contacts, walks with a fixed velocity.
class Walker : public CharacterEntity {
public:
    Walker(Game* game, const btVector3& position, boost::shared_ptr<btConvexShape> shape)
        : CharacterEntity(game, position, EntityKind::Vehicle, btQuaternion::getIdentity(),
                          boost::shared_ptr<Mesh>(new Mesh()), shape) {}
    void onCollision(btPersistentManifold*, float, const btCollisionObject*, EntityTag*, float) override {}

    btVector3 position() const { return ghostObject->getWorldTransform().getOrigin(); }
    float air() const { return getAirTime(); }
    void recover() { preStep(game->dynamicsWorld); }
};

boost::shared_ptr<btConvexShape> cube(float half) {
    return boost::shared_ptr<btConvexShape>(new btBoxShape(btVector3(half, half, half)));
}

const float dt = TestWorld::subStep;

}  // namespace

TEST(KinematicController, FallsFasterWithAirTimeAndLandsOnTheFloor) {
    TestWorld world;
    world.addFloor(0);
    Walker walker(world.game.get(), btVector3(0, 20, 0), cube(0.5f));
    EXPECT_FALSE(walker.onGround());  // airborne until the first downward hit

    float previousY = walker.position().y();
    for (int k = 1; k <= 20; ++k) {
        world.step();
        const float drop = previousY - walker.position().y();
        // The step up and the step offset cancel; what remains is the gravity term of this step.
        EXPECT_NEAR(drop, Walker::fallAcceleration * dt * (k * dt) * 0.5f, 1e-3f) << "step " << k;
        EXPECT_FALSE(walker.onGround());
        previousY = walker.position().y();
    }
    world.step(120);
    EXPECT_TRUE(walker.onGround());
    // Resting on the floor: sweeps may end inside it by the allowed penetration before recovery.
    EXPECT_NEAR(walker.position().y(), 0.5f, 0.06f);
    EXPECT_LT(walker.air(), Walker::groundGraceTime);
}

TEST(KinematicController, ShortGapKeepsTheGroundFlag) {
    TestWorld world;
    StaticEntity* floor = world.addFloor(0);
    Walker walker(world.game.get(), btVector3(0, 0.6f, 0), cube(0.5f));
    world.step(30);
    ASSERT_TRUE(walker.onGround());

    delete floor;  // the ground goes away under the walker
    world.game->entities.clear();
    world.step(28);
    EXPECT_TRUE(walker.onGround()) << "less than 0.5 s in the air";
    world.step(4);
    EXPECT_FALSE(walker.onGround()) << "more than 0.5 s in the air";
}

TEST(KinematicController, StopsAtAWallOrSlidesAlongIt) {
    for (const float degrees : {0.0f, 30.0f, 60.0f}) {
        TestWorld world;
        world.addTerrain({TestWorld::floorBlock(), {btVector3(6, 2, 0), btVector3(1, 2, 50)}});  // wall face at x = 5
        Walker walker(world.game.get(), btVector3(0, 0.55f, 0), cube(0.5f));
        world.step(30);
        const btVector3 start = walker.position();

        // One step of 10 units towards the wall.
        const float angle = degrees * static_cast<float>(M_PI) / 180.0f;
        walker.setWalkDirection(btVector3(std::cos(angle), 0, std::sin(angle)) * (10.0f / dt));
        world.step();
        walker.setWalkDirection(btVector3(0, 0, 0));
        const btVector3 end = walker.position();

        EXPECT_NEAR(end.x(), 4.5f, 0.1f) << degrees << " degrees: stops with its face at the wall";
        // The part of the move along the wall survives: remaining length times the sine of the angle.
        EXPECT_NEAR(end.z() - start.z(), 10.0f * std::sin(angle), 0.1f) << degrees << " degrees";
    }
}

TEST(KinematicController, ClimbsSmallStepsButNotTallOnes) {
    for (const float height : {0.3f, 1.0f}) {
        TestWorld world;
        // A ledge from x = 5.
        world.addTerrain({TestWorld::floorBlock(), {btVector3(10, height / 2, 0), btVector3(5, height / 2, 5)}});
        Walker walker(world.game.get(), btVector3(0, 0.55f, 0), cube(0.5f));
        world.step(30);
        walker.setWalkDirection(btVector3(6, 0, 0));
        world.step(120);
        if (height < CharacterEntity::stepHeightUnits) {
            EXPECT_GT(walker.position().x(), 6.0f) << "on the ledge";
            EXPECT_NEAR(walker.position().y(), 0.5f + height, 0.1f);
        } else {
            EXPECT_NEAR(walker.position().x(), 4.5f, 0.1f) << "stopped at the ledge";
            EXPECT_NEAR(walker.position().y(), 0.5f, 0.1f);
        }
    }
}

TEST(KinematicController, PenetrationRecoveryStopsAfterFiveRounds) {
    TestWorld world;
    world.addTerrain({{btVector3(0, -5, 0), btVector3(5, 5, 5)}});  // top face at y = 0
    // A sphere sunk one unit into the block: each round moves it out by a fifth of its depth.
    Walker walker(world.game.get(), btVector3(0, 0, 0), boost::shared_ptr<btConvexShape>(new btSphereShape(1.0f)));
    world.game->dynamicsWorld->performDiscreteCollisionDetection();
    walker.recover();
    const float risen = walker.position().y();
    EXPECT_NEAR(risen, 1.0f - std::pow(0.8f, 5.0f), 0.05f);
    EXPECT_LT(risen, 1.0f - std::pow(0.8f, 6.0f) - 0.02f) << "a sixth round would have risen further";
}
