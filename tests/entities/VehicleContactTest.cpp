#include <cmath>

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/DynamicEntity.h"
#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "support/TestWorld.h"

namespace {

// Two karts 16 units apart on a floor, facing each other.
struct FacingKarts : ::testing::Test {
    FacingKarts() {
        world.addFloor(0, 2000);
        a = world.addVehicle(btVector3(0, 1, 0), false, "A");
        b = world.addVehicle(btVector3(0, 1, 16), false, "B");
        b->yaw = static_cast<float>(M_PI);
        world.step(30);
    }
    TestWorld world;
    Vehicle* a;
    Vehicle* b;
};

}  // namespace

TEST(VehicleContacts, AWallThrowsTheKartBackAndTakesSpeedByTheAngle) {
    TestWorld world;
    world.addTerrain({TestWorld::floorBlock(0, 2000), {btVector3(40, 2, 0), btVector3(1, 2, 500)}});  // wall at x = 39
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    world.step(30);
    kart->yaw = 0.6f;  // heading towards the wall at about 35 degrees off it
    kart->speed = 50;
    float speedBefore = 0;
    const int steps = world.stepUntil([&] {
        if (kart->pushStrength <= 0) speedBefore = kart->speed;
        return kart->pushStrength > 0;
    }, 600, kart);
    ASSERT_GT(steps, 0) << "the kart reached the wall";
    EXPECT_GE(kart->pushStrength, Vehicle::wallStrengthMin - Vehicle::pushDecay);
    EXPECT_LE(kart->pushStrength, Vehicle::wallStrengthMax);
    EXPECT_NEAR(kart->pushDirection.x(), -1.0f, 0.05f) << "pushed straight out of the wall";
    // Speed is kept by 1 + h.w, h the wall normal and w the heading: about 1 - sin(0.6).
    EXPECT_LT(kart->speed, speedBefore * 0.6f);
    EXPECT_GT(kart->speed, speedBefore * 0.2f);
    world.step(120);
    EXPECT_LT(kart->worldTransform().getOrigin().x(), 39.0f) << "never through the wall";
}

TEST_F(FacingKarts, TouchingPushesThemApartAndHeadOnLosesAllSpeed) {
    a->speed = 30;
    b->speed = 30;
    const int steps = world.stepUntil([&] { return a->pushStrength > 0 && b->pushStrength > 0; }, 120);
    ASSERT_GT(steps, 0);
    EXPECT_GE(a->pushStrength, Vehicle::bumpStrength - Vehicle::pushDecay);
    EXPECT_LE(a->pushStrength, Vehicle::bumpStrength);
    EXPECT_GE(b->pushStrength, Vehicle::bumpStrength - Vehicle::pushDecay);
    EXPECT_NEAR(a->pushDirection.z(), -1.0f, 0.05f);
    EXPECT_NEAR(b->pushDirection.z(), 1.0f, 0.05f);
    EXPECT_NEAR(a->speed, 0.0f, 0.01f) << "driving straight into the other kart";
    EXPECT_NEAR(b->speed, 0.0f, 0.01f);
    world.step(60);
    EXPECT_GT(b->worldTransform().getOrigin().z() - a->worldTransform().getOrigin().z(), 6.0f) << "apart again";
}

TEST_F(FacingKarts, AStarKnocksTheOtherKartAway) {
    a->starTimeLeft = 5;
    a->speed = 40;
    ASSERT_GT(world.stepUntil([&] { return b->spinTimeLeft > 0; }, 120), 0);
    EXPECT_FLOAT_EQ(a->spinTimeLeft, 0.0f);
    EXPECT_GT(b->pushDirection.z(), 0.9f) << "knocked away from the star";
    EXPECT_GE(b->pushStrength, Vehicle::starHitStrength - 2 * Vehicle::pushDecay);
}

TEST(VehicleContacts, AKartPushesACrateThatWasAsleep) {
    TestWorld world;
    world.addFloor(0, 2000);
    boost::shared_ptr<Mesh> box = makeBoxMesh(btVector3(1, 1, 1));
    DynamicEntity* crate = new DynamicEntity(world.game.get(), btVector3(0, 1.2f, 25), 5.0f,
                                             btQuaternion::getIdentity(), EntityKind::Dynamic, box,
                                             box->createConvexHullShape());
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    world.step(400);  // the crate settles and falls asleep
    ASSERT_FALSE(crate->getRigidBody()->isActive());
    const float before = crate->getRigidBody()->getWorldTransform().getOrigin().z();
    world.stepUntil([] { return false; }, 150, kart);
    EXPECT_GT(crate->getRigidBody()->getWorldTransform().getOrigin().z() - before, 2.0f) << "the crate was pushed";
}

TEST(GroundFollowing, ClosesAFifthOfTheAngleEachStepOnASlope) {
    TestWorld world;
    const float slope = 0.2f;  // radians, rising towards +Z
    boost::shared_ptr<Mesh> ramp = makeBoxMesh(btVector3(200, 1, 200));
    new StaticEntity(world.game.get(), btVector3(0, -1, 0), btQuaternion(btVector3(1, 0, 0), -slope),
                     EntityKind::Static, ramp, ramp->createTriangleMeshShape());
    Vehicle* kart = world.addVehicle(btVector3(0, 1.5f, 0));
    kart->alignToGround();
    // pitch grows by 0.2 asin(Z.n) per step: the first step from level closes a fifth of the slope.
    EXPECT_NEAR(kart->pitch, -0.2f * std::asin(std::sin(slope)), 2e-3f);
    for (int i = 0; i < 60; ++i) kart->alignToGround();
    EXPECT_NEAR(kart->pitch, -slope, 2e-3f);
    EXPECT_NEAR(kart->roll, 0.0f, 1e-4f);
    EXPECT_NEAR(kart->worldTransform().getBasis().getColumn(1).dot(btVector3(0, std::cos(slope), -std::sin(slope))),
                1.0f, 1e-4f)
        << "the kart's up axis is the slope's normal";
}

TEST(GroundFollowing, KeepsPitchAndRollOverAHole) {
    TestWorld world;
    world.addFloor(-30);  // far below the rays' 12.5 units
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    kart->pitch = 0.1f;
    kart->roll = -0.05f;
    kart->alignToGround();
    EXPECT_FLOAT_EQ(kart->pitch, 0.1f);
    EXPECT_FLOAT_EQ(kart->roll, -0.05f) << "the kart's own shape is never taken for ground";
}
