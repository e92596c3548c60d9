#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <gtest/gtest.h>

#include "entities/AIControlledVehicle.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "game/RenderSettings.h"
#include "items/GreenShell.h"
#include "items/Projectile.h"
#include "level/Course.h"
#include "support/TestWorld.h"

namespace {

// A computer kart on the first side of the default square (x = -100, driving +Z).
struct ComputerDriverTest : ::testing::Test {
    ComputerDriverTest() {
        renderSettings = RenderSettings();
        world.addFloor(0, 1000);
        world.game->setCourse(Course::defaultPoints());
        world.prepareShells();
    }
    ~ComputerDriverTest() override { renderSettings = RenderSettings(); }
    AIControlledVehicle* computerAt(float x, float z) {
        auto* kart = static_cast<AIControlledVehicle*>(world.addVehicle(btVector3(x, 1, z), true, "Computer"));
        world.step(30);  // settles; its item time lies 25 s or more ahead
        return kart;
    }
    TestWorld world;
};

}  // namespace

TEST_F(ComputerDriverTest, SteersTowardsTheSegmentEndAndCastsNoVoteOnItsLineOrOffEverySlab) {
    // Heading along the segment, 10 units to its left (+X is a kart's left): one vote to the right.
    Vehicle* left = world.addVehicle(btVector3(-90, 1, 20), true, "Left");
    Vehicle* right = world.addVehicle(btVector3(-110, 1, 20), true, "Right");
    Vehicle* onLine = world.addVehicle(btVector3(-100, 1, 40), true, "On the line");
    Vehicle* lost = world.addVehicle(btVector3(0, 1, 0), true, "Lost");  // where no slab holds it
    world.step();
    EXPECT_FLOAT_EQ(left->steer, -0.1f * Vehicle::steeringReturn);
    EXPECT_FLOAT_EQ(right->steer, 0.1f * Vehicle::steeringReturn);
    EXPECT_FLOAT_EQ(onLine->steer, 0.0f);
    EXPECT_FLOAT_EQ(lost->steer, 0.0f);
    world.step(59);
    EXPECT_FLOAT_EQ(onLine->steer, 0.0f);
    EXPECT_GT(onLine->speed, 10.0f) << "full throttle all the time";
}

TEST_F(ComputerDriverTest, StartsWithAnItemAndUsesAFlashAsAStarAndATurboAsABackwardsGreenShell) {
    AIControlledVehicle* kart = computerAt(-100, 20);
    EXPECT_NE(kart->heldItem, ItemType::none);
    EXPECT_GE(kart->nextItemTime, 25.0);
    EXPECT_LE(kart->nextItemTime, 29.0);
    EXPECT_EQ(kart->nextItemTime, std::floor(kart->nextItemTime)) << "whole seconds from a start at 0";

    kart->heldItem = ItemType::flash;
    kart->nextItemTime = GameClock::now() - 1;
    world.step();
    EXPECT_GT(kart->starTimeLeft, 9.9f);
    EXPECT_NE(kart->heldItem, ItemType::none) << "a new item at once";
    EXPECT_GE(kart->nextItemTime, GameClock::now() + 24.0);

    kart->heldItem = ItemType::turbo;
    kart->nextItemTime = GameClock::now() - 1;
    const float z = kart->worldTransform().getOrigin().z();
    world.step();
    ASSERT_EQ(Projectile::allProjectiles.size(), 1u);
    Projectile* shell = Projectile::allProjectiles.front();
    EXPECT_LT(shell->worldTransform().getOrigin().z(), z) << "dropped behind";
    EXPECT_FLOAT_EQ(shell->launchSpeed, 0.0f);
    EXPECT_FLOAT_EQ(kart->maxSpeed, kart->normalMaxSpeed) << "no turbo for computer drivers";
}

TEST_F(ComputerDriverTest, WithDrivingOffItCoastsToAStopAndKeepsItsItem) {
    AIControlledVehicle* kart = computerAt(-100, 20);
    world.step(60);
    renderSettings.aiDrivingEnabled = false;
    const ItemType item = kart->heldItem;
    kart->nextItemTime = GameClock::now() - 1;
    const float speed = kart->speed;
    world.step();
    EXPECT_NEAR(kart->speed, speed - 1.0f, 1e-4f);
    world.step(120);
    EXPECT_FLOAT_EQ(kart->speed, 0.0f);
    EXPECT_EQ(kart->heldItem, item);
    EXPECT_TRUE(Projectile::allProjectiles.empty());

    renderSettings.aiDrivingEnabled = true;  // the overdue item goes at once
    world.step();
    EXPECT_GE(kart->nextItemTime, GameClock::now() + 24.0);
}
