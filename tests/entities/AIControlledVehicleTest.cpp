#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <gtest/gtest.h>

#include "entities/AIControlledVehicle.h"
#include "game/Game.h"
#include "items/Projectile.h"
#include "level/Course.h"
#include "support/TestWorld.h"

namespace {

// Computer karts around the first side of the default square (x = -100, driving +Z).
struct ComputerDriverTest : ::testing::Test {
    ComputerDriverTest() {
        world.addFloor(0, 1000);
        world.game->setCourse(Course::defaultPoints());
        world.prepareShells();
    }
    AIControlledVehicle* computerAt(float x, float z) {
        return static_cast<AIControlledVehicle*>(world.addVehicle(btVector3(x, 1, z), true, "Computer"));
    }
    TestWorld world;
};

}  // namespace

TEST_F(ComputerDriverTest, SteersTowardsTheSegmentEndAndCastsNoVoteOnItsLineOrOffEverySlab) {
    // Heading along the segment, 10 units to its left (+X is a kart's left): one vote to the right.
    Vehicle* left = computerAt(-90, 20);
    Vehicle* right = computerAt(-110, 20);
    Vehicle* onLine = computerAt(-100, 40);
    Vehicle* lost = computerAt(0, 0);  // where no slab holds it
    world.step();
    EXPECT_FLOAT_EQ(left->steer, -0.1f * Vehicle::steeringReturn);
    EXPECT_FLOAT_EQ(right->steer, 0.1f * Vehicle::steeringReturn);
    EXPECT_FLOAT_EQ(onLine->steer, 0.0f);
    EXPECT_FLOAT_EQ(lost->steer, 0.0f);
}

TEST_F(ComputerDriverTest, UsesAnItemEveryTwentyFiveToTwentyNineSecondsAFlashAsAStarATurboAsABackwardsShell) {
    AIControlledVehicle* kart = computerAt(-100, 20);
    world.step(30);
    EXPECT_NE(kart->heldItem, ItemType::none) << "from the start";

    kart->heldItem = ItemType::flash;
    kart->nextItemTime = world.game->raceTime() - 1;
    world.step();
    EXPECT_GT(kart->starTimeLeft, 9.9f);
    EXPECT_GE(kart->nextItemTime, world.game->raceTime() + 24.0);

    kart->heldItem = ItemType::turbo;
    kart->nextItemTime = world.game->raceTime() - 1;
    const float z = kart->worldTransform().getOrigin().z();
    world.step();
    ASSERT_EQ(Projectile::allProjectiles.size(), 1u);
    Projectile* shell = Projectile::allProjectiles.front();
    EXPECT_LT(shell->worldTransform().getOrigin().z(), z) << "dropped behind, and no turbo";

    // With computer driving switched off it coasts to a stop and keeps its overdue item.
    world.game->readControls = [] {
        PlayerControls controls;
        controls.set(PlayerControls::computersHeld);
        return controls;
    };
    world.step();  // heard in the tick, after this sub-step's driving
    kart->nextItemTime = world.game->raceTime() - 1;
    world.step(120);
    EXPECT_FLOAT_EQ(kart->speed, 0.0f);
    EXPECT_EQ(Projectile::allProjectiles.size(), 1u);
}
