#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "support/TestWorld.h"

namespace {

struct ItemsTest : ::testing::Test {
    ItemsTest() {
        world.addFloor(0, 2000);
        kart = world.addVehicle(btVector3(0, 1, 0));
        other = world.addVehicle(btVector3(20, 1, 0));
        world.step(30);
    }
    TestWorld world;
    Vehicle* kart;
    Vehicle* other;
};

}  // namespace

TEST_F(ItemsTest, ItemsAreUsedOnceAndNamed) {
    EXPECT_EQ(kart->heldItemName(), "none");
    kart->useItem(false);  // nothing held: nothing happens
    EXPECT_EQ(kart->heldItem, ItemType::none);

    const char* names[] = {"greenShell", "redShell", "turbo", "star", "flash", "none"};
    for (int item = 0; item <= 5; ++item) {
        kart->heldItem = static_cast<ItemType>(item);
        EXPECT_EQ(kart->heldItemName(), names[item]);
    }
    kart->heldItem = static_cast<ItemType>(9);
    EXPECT_EQ(kart->heldItemName(), "unknown");

    kart->heldItem = ItemType::star;
    kart->useItem(false);
    EXPECT_EQ(kart->heldItem, ItemType::none);
    EXPECT_FLOAT_EQ(kart->starTimeLeft, kart->starDuration);
}

TEST(RandomItems, FollowTheDrawnNumber) {
    EXPECT_EQ(Vehicle::itemFor(74), ItemType::flash);
    EXPECT_EQ(Vehicle::itemFor(75), ItemType::greenShell);
    EXPECT_EQ(Vehicle::itemFor(149), ItemType::flash);
    EXPECT_EQ(Vehicle::itemFor(14), ItemType::greenShell);
    EXPECT_EQ(Vehicle::itemFor(15), ItemType::redShell);
    EXPECT_EQ(Vehicle::itemFor(44), ItemType::turbo);
    EXPECT_EQ(Vehicle::itemFor(45), ItemType::star);
    EXPECT_EQ(Vehicle::itemFor(60), ItemType::flash);
}

TEST_F(ItemsTest, TurboSetsTopSpeedForFourSeconds) {
    kart->heldItem = ItemType::turbo;
    kart->useItem(false);
    EXPECT_FLOAT_EQ(kart->speed, kart->turboMaxSpeed);
    EXPECT_FLOAT_EQ(kart->maxSpeed, kart->turboMaxSpeed);
    world.step(239);
    EXPECT_FLOAT_EQ(kart->maxSpeed, kart->turboMaxSpeed);
    world.step(2);
    EXPECT_FLOAT_EQ(kart->maxSpeed, kart->normalMaxSpeed);
}

TEST_F(ItemsTest, FlashShrinksEveryOtherKartForTwelveSeconds) {
    kart->heldItem = ItemType::flash;
    kart->useItem(false);
    EXPECT_FLOAT_EQ(kart->flashTimeLeft, 0.0f) << "the user is spared";
    EXPECT_FLOAT_EQ(other->flashTimeLeft, 12.0f);

    world.step(30);
    EXPECT_NEAR(other->scale, 0.7f, 0.02f) << "half way down after 0.5 s";
    world.step(30);
    EXPECT_NEAR(other->scale, 0.4f, 1e-3f);
    EXPECT_NEAR(other->maxSpeed, other->normalMaxSpeed * 0.4f, 1e-3f);
    EXPECT_NEAR(other->shape->getLocalScaling().y(), 0.4f, 1e-3f);
    EXPECT_NEAR(other->wheelMesh->scale[1], 0.4f, 1e-3f);

    // A turbo while shrunk gives the full turbo speed; when it ends the unscaled normal speed
    // stands until the flash scale changes again.
    world.step(60);
    other->heldItem = ItemType::turbo;
    other->useItem(false);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->turboMaxSpeed);
    world.step(245);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->normalMaxSpeed);
    EXPECT_NEAR(other->scale, 0.4f, 1e-3f);

    world.step(60 * 11 - 60 - 60 - 245);  // 11 s after the flash
    EXPECT_NEAR(other->scale, 0.4f, 0.02f);
    world.step(70);
    EXPECT_FLOAT_EQ(other->scale, 1.0f);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->normalMaxSpeed);
    EXPECT_FLOAT_EQ(other->shape->getLocalScaling().y(), 1.0f);
}

TEST_F(ItemsTest, FlashRestartsARunningFlashAndIgnoresStars) {
    other->starTimeLeft = 5;
    other->flashTimeLeft = 3;
    kart->heldItem = ItemType::flash;
    kart->useItem(false);
    EXPECT_FLOAT_EQ(other->flashTimeLeft, 12.0f);
}

TEST_F(ItemsTest, StarMakesTheKartImmuneToHits) {
    kart->heldItem = ItemType::star;
    kart->useItem(false);
    kart->hit(btVector3(1, 0, 0), 50);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, 0.0f);
    EXPECT_FLOAT_EQ(kart->pushStrength, 0.0f);
    world.step(601);
    EXPECT_LE(kart->starTimeLeft, 0.0f);
    kart->hit(btVector3(1, 0, 0), 50);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, kart->spinDuration);
}
