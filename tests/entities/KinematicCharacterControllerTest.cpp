#include <cmath>
#include <string>
#include <utility>

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "support/TestWorld.h"

// The controller moves every kart and shell; a kart carries it here.

TEST(KinematicController, AShortGapKeepsTheGroundFlag) {
    TestWorld world;
    StaticEntity* floor = world.addFloor(0);
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    ASSERT_GT(world.stepUntil([&] { return kart->onGround(); }, 30), 0);

    delete floor;  // the ground goes away under the kart
    world.game->entities.clear();
    world.step(28);
    EXPECT_TRUE(kart->onGround()) << "less than 0.5 s in the air";
    world.step(4);
    EXPECT_FALSE(kart->onGround()) << "more than 0.5 s in the air";
}

TEST(KinematicController, ClimbsASmallStepButStopsAtOrSlidesAlongATallerOne) {
    const std::pair<float, float> cases[] = {{0.3f, 0}, {1.0f, 0}, {1.0f, 30}, {1.0f, 60}};  // height, degrees
    for (const auto& [height, degrees] : cases) {
        SCOPED_TRACE(std::to_string(height) + " high, " + std::to_string(degrees) + " degrees");
        TestWorld world;
        // A block from x = 5.
        world.addTerrain({TestWorld::floorBlock(), {btVector3(10, height / 2, 0), btVector3(5, height / 2, 50)}});
        Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
        world.step(30);
        const btVector3 start = kart->worldTransform().getOrigin();

        // One sub-step of 10 units towards the block, given as a knock-back.
        const float angle = degrees * static_cast<float>(M_PI) / 180.0f;
        kart->pushDirection = btVector3(std::cos(angle), 0, std::sin(angle));
        kart->pushStrength = 10.0f / TestWorld::subStep;
        world.step();
        const btVector3 end = kart->worldTransform().getOrigin();
        if (height < CharacterEntity::stepHeightUnits) {
            EXPECT_NEAR(end.x(), start.x() + 10, 0.1f) << "on the block";
            EXPECT_NEAR(end.y(), start.y() + height, 0.1f);
        } else {
            EXPECT_NEAR(end.x(), 5 - TestWorld::kartHalfExtents.x(), 0.1f) << "stops with its side at the block";
            // The part of the move along the face survives: remaining length times the sine of the angle.
            EXPECT_NEAR(end.z() - start.z(), 10.0f * std::sin(angle), 0.1f);
        }
    }
}
