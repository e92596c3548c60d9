#include <cmath>

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "entities/Vehicle.h"
#include "game/Game.h"
#include "items/GreenShell.h"
#include "items/RedShell.h"
#include "level/Course.h"
#include "support/TestWorld.h"

namespace {

struct ShellTest : ::testing::Test {
    ShellTest() { world.prepareShells(); }
    static btVector3 where(Projectile* shell) { return shell->worldTransform().getOrigin(); }
    static btVector3 flatVelocity(const Projectile* shell) {
        const btVector3 w = shell->getWalkDirection();
        return btVector3(w.x(), 0, w.z());
    }
    TestWorld world;
};

}  // namespace

TEST_F(ShellTest, ShellsLieStillUntilKnockedApartAndGoThreeSecondsAfterTheFirstKnockAndTheEleventhDeletesTheFirst) {
    world.addFloor();
    // Ten shells dropped backwards in a row, and an eleventh just touching the last of them from the side.
    std::vector<GreenShell*> row;
    for (int i = 0; i < 10; ++i) row.push_back(new GreenShell(world.game.get(), btVector3(5.0f * i, 0.6f, 0), 0, true));
    GreenShell* eleventh = new GreenShell(world.game.get(), btVector3(45, 0.6f, 1.6f), 0, true);
    EXPECT_EQ(Projectile::allProjectiles.size(), 10u);
    EXPECT_EQ(Projectile::allProjectiles.front(), row[1]) << "the first has gone";
    const btVector3 dropped = where(row[1]);

    ASSERT_GT(world.stepUntil([&] { return eleventh->wasHit && row[9]->wasHit; }, 60), 0);
    world.step(130);
    EXPECT_GT(where(eleventh).z() - where(row[9]).z(), 5.0f) << "knocked apart";
    EXPECT_FLOAT_EQ(eleventh->pushStrength, 0.5f) << "50 falls by 0.5 per step and stays at 0.5";
    EXPECT_LT(where(row[1]).distance(dropped), 0.2f) << "never knocked, it only settles on the floor";
    eleventh->hit(btVector3(1, 0, 0), Projectile::knockStrength);  // a later knock does not renew the time
    world.step(180 - 130 - 2);
    EXPECT_EQ(Projectile::allProjectiles.size(), 10u);
    world.step(4);
    EXPECT_EQ(Projectile::allProjectiles.size(), 8u) << "both knocked shells have gone";
    EXPECT_EQ(world.game->projectiles.size(), 8);
}

TEST_F(ShellTest, AGreenShellReflectsOffAWall) {
    // A wall along z at x = 30; the shell heads at 45 degrees towards it.
    world.addTerrain({TestWorld::floorBlock(), {btVector3(31, 2, 0), btVector3(1, 2, 500)}});
    GreenShell* shell = new GreenShell(world.game.get(), btVector3(0, 0.6f, 0), static_cast<float>(M_PI / 4), false);
    const btVector3 launched = flatVelocity(shell);
    EXPECT_NEAR(launched.length(), GreenShell::speed, 1e-3f);
    EXPECT_NEAR(launched.x(), launched.z(), 1e-3f);

    ASSERT_GT(world.stepUntil([&] { return flatVelocity(shell).x() <= 0; }, 120), 0);
    const btVector3 reflected = flatVelocity(shell);
    EXPECT_NEAR(reflected.length(), GreenShell::speed, 1e-2f) << "same horizontal speed";
    EXPECT_NEAR(reflected.x(), -launched.x(), 0.5f) << "leaves at 45 degrees";
    EXPECT_NEAR(reflected.z(), launched.z(), 0.5f);
    EXPECT_FALSE(shell->wasHit) << "a wall only turns a green shell";
}

TEST_F(ShellTest, ARedShellFromTheLeaderChasesTheLastKart) {
    world.addFloor(0, 2000);
    world.game->setCourse(Course::defaultPoints());
    Vehicle* leader = world.addVehicle(btVector3(-100, 1, 60), false, "Leader");
    world.addVehicle(btVector3(-100, 1, 40), false, "Second");
    Vehicle* last = world.addVehicle(btVector3(-60, 1, 20), false, "Last");
    world.step(2);
    leader->heldItem = ItemType::redShell;
    leader->useItem(true);  // backwards means nothing to a red shell
    ASSERT_EQ(Projectile::allProjectiles.size(), 1u);
    RedShell* shell = static_cast<RedShell*>(Projectile::allProjectiles.front());
    EXPECT_EQ(shell->target, last);
    EXPECT_GT(where(shell).z(), 60.0f) << "fired forwards";
    world.stepUntil([&] { return shell->wasHit; }, 600);
    EXPECT_GT(last->spinTimeLeft, 0.0f) << "the shell caught its target";
    EXPECT_FLOAT_EQ(leader->spinTimeLeft, 0.0f);
    const btVector3 away = (last->worldTransform().getOrigin() - where(shell)).normalized();
    EXPECT_GT(last->pushDirection.dot(away), 0.5f) << "knocked away from the shell";
    EXPECT_FLOAT_EQ(last->pushStrength, Projectile::knockStrength);
}

TEST_F(ShellTest, ARedShellRunsAlongItsHeadingFromItsFirstStepAndIsThrownBackByTheFirstWall) {
    // Fired towards -Z at a wall at z = -30, its target beyond the wall.
    world.addTerrain({TestWorld::floorBlock(), {btVector3(0, 2, -31), btVector3(500, 2, 1)}});
    Vehicle* target = world.addVehicle(btVector3(0, 1, -200));
    RedShell* shell = new RedShell(world.game.get(), btVector3(0, 0.6f, 0), static_cast<float>(M_PI), target);
    world.step();
    EXPECT_LT(where(shell).z(), -1.0f) << "away from the shooter";
    ASSERT_GT(world.stepUntil([&] { return shell->wasHit; }, 60), 0);
    EXPECT_GT(shell->pushDirection.z(), 0.9f);
    EXPECT_FLOAT_EQ(shell->timeLeft, shell->lifetime);
}

TEST_F(ShellTest, AShellKnockedAwayNoLongerSpinsTheKartItDriftsInto) {
    world.addFloor();
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    GreenShell* shell = new GreenShell(world.game.get(), btVector3(0, 0.6f, 12), 0, true);
    shell->hit(btVector3(0, 0, -1), Projectile::knockStrength);
    ASSERT_GT(world.stepUntil([&] { return where(shell).z() < 3; }, 120), 0) << "the shell reached the kart";
    world.step(10);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, 0.0f);
}
