#include <cmath>

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/Vehicle.h"
#include "support/TestWorld.h"

namespace {

const float dt = TestWorld::subStep;

// A kart on a large flat floor, settled on its wheels.
struct DrivingTest : ::testing::Test {
    DrivingTest() {
        world.addFloor(0, 2000);
        kart = world.addVehicle(btVector3(0, 1, 0));
        world.step(30);
    }
    // Throttle held for `steps` sub-steps.
    void drive(int steps) { world.stepUntil([] { return false; }, steps, kart); }

    TestWorld world;
    Vehicle* kart;
};

}  // namespace

TEST_F(DrivingTest, ThrottleGainsHalfAUnitPerSubStepUpToTheMaximum) {
    ASSERT_TRUE(kart->onGround());
    for (int k = 1; k <= 100; ++k) {
        drive(1);
        ASSERT_NEAR(kart->speed, 0.5f * k, 1e-3f) << "sub-step " << k;
    }
    drive(200);
    // Speed can pass the maximum by less than one throttle step before friction takes it back.
    EXPECT_GE(kart->speed, kart->maxSpeed - Vehicle::throttleStep);
    EXPECT_LT(kart->speed, kart->maxSpeed + Vehicle::throttleStep);
    EXPECT_NEAR(kart->worldTransform().getBasis().getColumn(2).z(), 1.0f, 1e-3f);
}

TEST_F(DrivingTest, SteeringIsLimitedAndReturnsToStraight) {
    for (int i = 0; i < 30; ++i) kart->steerLeft();
    EXPECT_FLOAT_EQ(kart->steer, kart->steerLimit);
    for (int i = 0; i < 50; ++i) kart->steerRight();
    EXPECT_FLOAT_EQ(kart->steer, -kart->steerLimit);

    world.step();
    EXPECT_FLOAT_EQ(kart->steer, -kart->steerLimit * Vehicle::steeringReturn);
    // 2 * 0.95^59 is the first value below one steering step; the step after it snaps to zero.
    EXPECT_EQ(world.stepUntil([&] { return kart->steer == 0; }, 200), 59);
}

TEST_F(DrivingTest, BodyPoseFollowsTheSteeringAndMirrorsStraightAndRightTurns) {
    const struct {
        float steer;
        size_t mesh;
        bool mirrored;
    } cases[] = {{0.0f, 0, true},  {2.0f / 7.0f, 1, false}, {0.28f, 0, true},          {2.0f, 6, false},
                 {-2.0f, 6, true}, {-2.0f / 7.0f, 1, true}, {0.0f, 0, true}};
    for (const auto& c : cases) {
        kart->steer = c.steer;
        world.step();
        EXPECT_EQ(kart->mesh, kart->bodyMeshes[c.mesh]) << "steer " << c.steer;
        EXPECT_EQ(kart->shape->getLocalScaling().x() < 0, c.mirrored) << "steer " << c.steer;
        for (const auto& body : kart->bodyMeshes) EXPECT_EQ(body->mirrored, c.mirrored) << "steer " << c.steer;
    }
}

TEST_F(DrivingTest, HardSteeringAtSpeedDriftsBoostsAndSpinsOut) {
    drive(150);
    ASSERT_GT(kart->speed, kart->driftMinSpeed);
    int steps = 0;
    float yawRateBeforeBoost = 0, yawRateAfterBoost = 0;
    while (kart->spinTimeLeft == 0 && steps < 600) {
        kart->steerLeft();
        const float yaw = kart->yaw;
        kart->accelerate();
        world.step();
        ++steps;
        const float rate = (kart->yaw - yaw) / dt;
        if (kart->driftTime > 0.5f && kart->driftTime < 1.5f) yawRateBeforeBoost = rate / kart->steer;
        if (kart->driftTime > 2.5f && kart->driftTime < 3.5f) yawRateAfterBoost = rate / kart->steer;
    }
    // Full lock held gives steer 1.9 after the return: drift time grows by 0.95 s per second once
    // the steering has wound up.
    const float seconds = steps * dt;
    EXPECT_GT(seconds, 4.0f);
    EXPECT_LT(seconds, 4.7f);
    EXPECT_NEAR(yawRateBeforeBoost, 1.0f, 0.02f);
    EXPECT_NEAR(yawRateAfterBoost, 1.5f, 0.03f);
    EXPECT_LT(kart->driftTime, 2 * dt) << "reset when the spin began";

    // A spin turns one full turn in a second whatever the steering does.
    const float yawAtSpin = kart->yaw;
    world.step(60);
    EXPECT_NEAR(std::fabs(kart->yaw - yawAtSpin), 2 * 3.1415f, 0.15f);
}

TEST_F(DrivingTest, SteeringAgainstTheTurnOrSlowingDownEndsTheDrift) {
    drive(150);
    auto driftLeft = [this](int steps) {
        for (int i = 0; i < steps; ++i) {
            kart->steerLeft();
            kart->accelerate();
            world.step();
        }
    };
    driftLeft(60);
    ASSERT_GT(kart->driftTime, 0.5f);
    const float drift = kart->driftTime;
    kart->steerLeft();  // with the turn: kept
    EXPECT_FLOAT_EQ(kart->driftTime, drift);
    kart->steerRight();  // against the turn while still turning left: reset
    EXPECT_FLOAT_EQ(kart->driftTime, 0.0f);

    driftLeft(60);
    ASSERT_GT(kart->driftTime, 0.5f);
    kart->speed = kart->driftMinSpeed - 5;  // too slow to drift
    kart->steerLeft();
    world.step();
    EXPECT_FLOAT_EQ(kart->driftTime, 0.0f);
}

TEST_F(DrivingTest, HitsSpinTheKartButDoNotExtendAFreshSpin) {
    const btVector3 away(1, 0, 0);
    kart->hit(away, 25);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, kart->spinDuration);
    EXPECT_FLOAT_EQ(kart->pushStrength, 25);
    EXPECT_EQ(kart->pushDirection, away);

    world.step(12);  // 0.2 s into the spin: still in its first three quarters
    const float left = kart->spinTimeLeft;
    kart->hit(away, 25);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, left);

    world.step(45);  // in the last quarter a hit adds a full spin
    const float late = kart->spinTimeLeft;
    ASSERT_LT(late, kart->spinDuration * 0.25f);
    kart->hit(away, 25);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, late + kart->spinDuration);

    kart->speed = 0;
    kart->accelerate();  // no throttle while spinning
    EXPECT_FLOAT_EQ(kart->speed, 0.0f);
}

TEST_F(DrivingTest, KnockBackMovesTheKartAndFades) {
    const btVector3 start = kart->worldTransform().getOrigin();
    kart->hit(btVector3(1, 0, 0), 30);
    world.step();
    EXPECT_FLOAT_EQ(kart->pushStrength, 29.5f);
    world.step(59);
    EXPECT_FLOAT_EQ(kart->pushStrength, 0.0f);
    // Sum of 30, 29.5, ... 0.5 units per second over sub-steps of 1/60 s.
    EXPECT_NEAR(kart->worldTransform().getOrigin().x() - start.x(), 30.5f * 30 * dt, 0.2f);
}

TEST(VehicleStart, FacesPlusZAfterItsFirstStepWhateverItsStartRotation) {
    TestWorld world;
    world.addFloor();
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0), btQuaternion(btVector3(0, 1, 0), 1.3f), false, "Turned",
                                     TestWorld::kartHalfExtents);
    EXPECT_LT(kart->worldTransform().getBasis().getColumn(2).z(), 0.5f);
    world.step();
    const btVector3 forward = kart->worldTransform().getBasis().getColumn(2);
    EXPECT_NEAR(forward.z(), 1.0f, 1e-4f);
    EXPECT_NEAR(forward.x(), 0.0f, 1e-4f);
}

TEST(VehicleStart, KartWithoutBodyMeshStaysFinite) {
    TestWorld world;
    world.addFloor();
    // Placed touching the floor: a shape of no size has nothing to meet the floor with before it is there.
    Vehicle* kart =
        world.addVehicle(btVector3(0, 0.02f, 0), btQuaternion::getIdentity(), false, "Empty", btVector3(0, 0, 0));
    for (const btVector3& probe : kart->groundProbes) EXPECT_TRUE(std::isfinite(probe.length()));
    for (int i = 0; i < 120; ++i) {
        kart->accelerate();
        kart->steerLeft();
        world.step();
    }
    const btTransform& transform = kart->worldTransform();
    EXPECT_TRUE(std::isfinite(transform.getOrigin().length()));
    EXPECT_TRUE(std::isfinite(transform.getBasis().getColumn(0).length()));
    EXPECT_GT(transform.getOrigin().y(), -1.0f) << "stays on the floor";
}
