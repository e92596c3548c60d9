#include <utility>

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/Vehicle.h"
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

TEST(Items, AreNamedForTheDisplayAndDrawnByNumber) {
    TestWorld world;
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    const char* names[] = {"greenShell", "redShell", "turbo", "star", "flash", "none", "unknown"};
    for (int item = 0; item <= 6; ++item) {
        kart->heldItem = static_cast<ItemType>(item == 6 ? 9 : item);
        EXPECT_EQ(kart->heldItemName(), names[item]);
    }
    // rand() % 150 picks the item: the bounds of each range.
    const std::pair<int, ItemType> draws[] = {{74, ItemType::flash}, {75, ItemType::greenShell}, {149, ItemType::flash},
                                              {14, ItemType::greenShell}, {15, ItemType::redShell},
                                              {44, ItemType::turbo}, {45, ItemType::star}, {60, ItemType::flash}};
    for (const auto& draw : draws) EXPECT_EQ(Vehicle::itemFor(draw.first), draw.second) << draw.first;
}

TEST_F(ItemsTest, FlashShrinksEveryOtherKartForTwelveSecondsAndTurboLastsFour) {
    // A flash restarts a running one and ignores stars.
    other->starTimeLeft = 5;
    other->flashTimeLeft = 3;
    kart->heldItem = ItemType::flash;
    kart->useItem(false);
    EXPECT_EQ(kart->heldItem, ItemType::none) << "used once";
    EXPECT_FLOAT_EQ(kart->flashTimeLeft, 0.0f) << "the user is spared";
    EXPECT_FLOAT_EQ(other->flashTimeLeft, 12.0f);
    other->starTimeLeft = 0;

    world.step(30);
    EXPECT_NEAR(other->scale, 0.7f, 0.02f) << "half way down after 0.5 s";
    world.step(30);
    EXPECT_NEAR(other->scale, 0.4f, 1e-3f);
    EXPECT_NEAR(other->maxSpeed, other->normalMaxSpeed * 0.4f, 1e-3f);
    EXPECT_NEAR(other->shape->getLocalScaling().y(), 0.4f, 1e-3f);
    EXPECT_NEAR(other->wheelMesh->scale[1], 0.4f, 1e-3f);

    // A turbo gives the full turbo speed for four seconds, also while shrunk; when it ends the
    // unscaled normal speed stands until the flash scale changes again.
    world.step(60);
    other->heldItem = ItemType::turbo;
    other->useItem(false);
    EXPECT_FLOAT_EQ(other->speed, other->turboMaxSpeed);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->turboMaxSpeed);
    world.step(239);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->turboMaxSpeed);
    world.step(2);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->normalMaxSpeed);
    EXPECT_NEAR(other->scale, 0.4f, 1e-3f);

    world.step(60 * 11 - 60 - 60 - 241);  // 11 s after the flash
    EXPECT_NEAR(other->scale, 0.4f, 0.02f);
    world.step(70);
    EXPECT_FLOAT_EQ(other->scale, 1.0f);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->normalMaxSpeed);
    EXPECT_FLOAT_EQ(other->shape->getLocalScaling().y(), 1.0f);
}

TEST_F(ItemsTest, StarMakesTheKartImmuneToHits) {
    kart->useItem(false);  // nothing held: nothing happens
    EXPECT_FLOAT_EQ(kart->starTimeLeft, 0.0f);
    kart->heldItem = ItemType::star;
    kart->useItem(false);
    EXPECT_FLOAT_EQ(kart->starTimeLeft, kart->starDuration);
    kart->hit(btVector3(1, 0, 0), 50);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, 0.0f);
    EXPECT_FLOAT_EQ(kart->pushStrength, 0.0f);
    world.step(601);
    EXPECT_LE(kart->starTimeLeft, 0.0f);
    kart->hit(btVector3(1, 0, 0), 50);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, kart->spinDuration);
}
