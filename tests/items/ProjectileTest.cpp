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

TEST_F(ShellTest, TheEleventhShellDeletesTheFirstAndBackwardsShellsLieStillUntilKnocked) {
    world.addFloor();
    GreenShell* first = new GreenShell(world.game.get(), btVector3(0, 0.6f, 0), 0.3f, true);
    for (int i = 1; i < 10; ++i) new GreenShell(world.game.get(), btVector3(5.0f * i, 0.6f, 0), 0, true);
    ASSERT_EQ(Projectile::allProjectiles.size(), 10u);
    EXPECT_EQ(Projectile::allProjectiles.front(), first);
    GreenShell* eleventh = new GreenShell(world.game.get(), btVector3(60, 0.6f, 0), 0, true);
    EXPECT_EQ(Projectile::allProjectiles.size(), 10u);
    EXPECT_EQ(world.game->projectiles.size(), 10);
    EXPECT_EQ(Projectile::allProjectiles.back(), eleventh);
    EXPECT_EQ(world.game->projectiles.findLinearSearch(reinterpret_cast<Projectile*>(first)), 10) << "gone";

    world.step(30);
    const btVector3 resting = where(eleventh);
    world.step(60);
    EXPECT_LT(where(eleventh).distance(resting), 1e-3f);
    EXPECT_TRUE(eleventh->getWalkDirection().isZero());
    eleventh->hit(btVector3(0, 0, 1), Projectile::knockStrength);
    world.step(10);
    EXPECT_GT(where(eleventh).z() - resting.z(), 5.0f);
}

TEST_F(ShellTest, AGreenShellReflectsOffAWallButNotOffTheGround) {
    // A wall along z at x = 30; the shell heads at 45 degrees towards it.
    world.addTerrain({TestWorld::floorBlock(), {btVector3(31, 2, 0), btVector3(1, 2, 500)}});
    GreenShell* shell = new GreenShell(world.game.get(), btVector3(0, 0.6f, 0), static_cast<float>(M_PI / 4), false);
    const btVector3 launched = flatVelocity(shell);
    EXPECT_NEAR(launched.length(), GreenShell::speed, 1e-3f);
    EXPECT_NEAR(launched.x(), launched.z(), 1e-3f);

    world.stepUntil([&] {
        if (flatVelocity(shell).x() <= 0) return true;
        EXPECT_LT(flatVelocity(shell).distance(launched), 1e-3f) << "the floor does not deflect it";
        return false;
    }, 120);
    const btVector3 reflected = flatVelocity(shell);
    EXPECT_NEAR(reflected.length(), GreenShell::speed, 1e-2f) << "same horizontal speed";
    EXPECT_NEAR(reflected.x(), -launched.x(), 0.5f) << "leaves at 45 degrees";
    EXPECT_NEAR(reflected.z(), launched.z(), 0.5f);
    EXPECT_FALSE(shell->wasHit) << "a wall only turns a green shell";
    world.step(30);
    EXPECT_LT(where(shell).x(), 30.0f);
}

TEST_F(ShellTest, AKnockedShellGoesThreeSecondsAfterItsFirstKnock) {
    world.addFloor();
    GreenShell* shell = new GreenShell(world.game.get(), btVector3(0, 0.6f, 0), 0, true);
    world.step(10);
    shell->hit(btVector3(0, 0, 1), Projectile::knockStrength);
    EXPECT_FLOAT_EQ(shell->timeLeft, 3.0f);
    world.step(99);
    EXPECT_FLOAT_EQ(shell->pushStrength, 0.5f) << "50 falls by 0.5 per step";
    world.step(30);
    EXPECT_FLOAT_EQ(shell->pushStrength, 0.5f) << "and stays there";
    shell->hit(btVector3(1, 0, 0), Projectile::knockStrength);  // a later knock does not renew the time
    world.step(180 - 99 - 30 - 2);
    ASSERT_EQ(Projectile::allProjectiles.size(), 1u);
    world.step(3);
    EXPECT_TRUE(Projectile::allProjectiles.empty());
    EXPECT_EQ(world.game->projectiles.size(), 0);
}

TEST_F(ShellTest, ShellsTouchingShellsOrKartsAreKnockedApart) {
    world.addFloor();
    // Two shells lying side by side, just touching. (Shells in flight sweep through everything but
    // walls, so fast ones meeting head-on mostly pass each other.)
    GreenShell* a = new GreenShell(world.game.get(), btVector3(0, 0.6f, 0), 0, true);
    GreenShell* b = new GreenShell(world.game.get(), btVector3(1.6f, 0.6f, 0), 0, true);
    ASSERT_GT(world.stepUntil([&] { return a->wasHit && b->wasHit; }, 60), 0);
    EXPECT_LT(a->pushDirection.x(), -0.9f);
    EXPECT_GT(b->pushDirection.x(), 0.9f);
    world.step(30);
    EXPECT_GT(where(b).x() - where(a).x(), 5.0f);

    // A shell running into a kart spins it; both are knocked apart along the line between them.
    Vehicle* kart = world.addVehicle(btVector3(100, 1, 30));
    world.step(30);
    GreenShell* shell = new GreenShell(world.game.get(), btVector3(100, 0.6f, 0), 0, false);
    ASSERT_GT(world.stepUntil([&] { return shell->wasHit; }, 60), 0);
    EXPECT_GT(kart->spinTimeLeft, 0.0f);
    EXPECT_FLOAT_EQ(kart->pushStrength, Projectile::knockStrength);
    EXPECT_LT(kart->pushDirection.distance(-shell->pushDirection), 0.05f);
}

TEST_F(ShellTest, ARedShellFromTheLeaderChasesTheLastKart) {
    world.addFloor(0, 2000);
    world.game->setCourse(Course::defaultPoints());
    Vehicle* leader = world.addVehicle(btVector3(-100, 1, 60), false, "Leader");
    world.addVehicle(btVector3(-100, 1, 40), false, "Second");
    Vehicle* last = world.addVehicle(btVector3(-60, 1, 20), false, "Last");
    world.step(2);
    ASSERT_EQ(world.game->vehicleAhead(leader), last);

    leader->heldItem = ItemType::redShell;
    leader->useItem(true);  // backwards means nothing to a red shell
    ASSERT_EQ(Projectile::allProjectiles.size(), 1u);
    RedShell* shell = static_cast<RedShell*>(Projectile::allProjectiles.front());
    EXPECT_EQ(shell->target, last);
    EXPECT_GT(where(shell).z(), 60.0f) << "fired forwards";
    for (int i = 0; i < 5; ++i) {
        const float yaw = shell->yaw;
        world.step();
        EXPECT_NEAR(std::fabs(shell->yaw - yaw), RedShell::turnStep, 1e-5f);
    }
    world.stepUntil([&] { return shell->wasHit; }, 600);
    EXPECT_GT(last->spinTimeLeft, 0.0f) << "the shell caught its target";
    EXPECT_FLOAT_EQ(leader->spinTimeLeft, 0.0f);
}

TEST_F(ShellTest, ARedShellIsThrownBackByTheFirstWall) {
    world.addTerrain({TestWorld::floorBlock(), {btVector3(0, 2, 31), btVector3(500, 2, 1)}});
    Vehicle* target = world.addVehicle(btVector3(0, 1, 200));  // beyond the wall
    RedShell* shell = new RedShell(world.game.get(), btVector3(0, 0.6f, 0), 0, target);
    ASSERT_GT(world.stepUntil([&] { return shell->wasHit; }, 60), 0);
    EXPECT_LT(shell->pushDirection.z(), -0.9f);
    EXPECT_FLOAT_EQ(shell->timeLeft, shell->lifetime);
}
