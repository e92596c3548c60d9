#include <cmath>
#include <tuple>

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/DynamicEntity.h"
#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "support/TestWorld.h"

namespace {

const float dt = TestWorld::subStep;

// A kart on a large flat floor, settled on its wheels.
struct KartTest : ::testing::Test {
    KartTest() {
        world.addFloor(0, 2000);
        kart = world.addVehicle(btVector3(0, 1, 0));
        world.step(30);
    }
    // Throttle held for `steps` sub-steps.
    void drive(int steps) { world.stepUntil([] { return false; }, steps, kart); }
    // Throttle and full lock to one side for `steps` sub-steps.
    void driftFor(int steps, bool left) {
        for (int i = 0; i < steps; ++i) {
            left ? kart->steerLeft() : kart->steerRight();
            kart->accelerate();
            world.step();
        }
    }
    // Radians turned since the heading was `yaw`, the short way: the heading wraps at half a turn.
    float turnSince(float yaw) const { return std::remainder(kart->yaw - yaw, 2 * SIMD_PI); }

    TestWorld world;
    Vehicle* kart;
};

}  // namespace

TEST_F(KartTest, ThrottleReachesTopSpeedAndHardSteeringThereDriftsBoostsAndSpinsOutAfterFourSeconds) {
    drive(60);
    EXPECT_NEAR(kart->speed, 30.0f, 1e-3f) << "1.5 of throttle less 1.0 of ground friction per sub-step";
    drive(90);
    // 250 km/h; speed can pass it by less than one throttle step before friction takes it back.
    EXPECT_NEAR(kart->speed, 250 / 3.6f, Vehicle::throttleStep);

    int steps = 0;
    float yawRateBeforeBoost = 0, yawRateAfterBoost = 0;
    while (kart->spinTimeLeft == 0 && steps < 600) {
        const float yaw = kart->yaw;
        driftFor(1, true);
        ++steps;
        const float rate = turnSince(yaw) / dt;
        if (kart->driftTime > 0.5f && kart->driftTime < 1.5f) yawRateBeforeBoost = rate / kart->steer;
        if (kart->driftTime > 2.5f && kart->driftTime < 3.5f) yawRateAfterBoost = rate / kart->steer;
    }
    // Full lock held gives steer 1.9 after the return: drift time grows by 0.95 s per second once
    // the steering has wound up.
    EXPECT_NEAR(kart->steer, 1.9f, 1e-3f);
    EXPECT_GT(steps * dt, 4.0f);
    EXPECT_LT(steps * dt, 4.7f);
    EXPECT_NEAR(yawRateBeforeBoost, 1.0f, 0.02f);
    EXPECT_NEAR(yawRateAfterBoost, 1.5f, 0.03f);
    EXPECT_LT(kart->driftTime, 2 * dt) << "reset when the spin began";

    // A spin turns one full turn in a second whatever the steering does.
    float spun = 0;
    for (int step = 0; step < 60; ++step) {
        const float yaw = kart->yaw;
        world.step();
        spun += turnSince(yaw);
    }
    EXPECT_NEAR(std::fabs(spun), 2 * 3.1415f, 0.15f);
    // After all that turning the heading is still within half a turn, where sinf and cosf give the
    // same bits on every processor.
    EXPECT_LE(std::fabs(kart->yaw), SIMD_PI);
}

TEST_F(KartTest, CounterSteeringOrSlowingDownEndsTheDrift) {
    drive(150);
    for (const bool left : {true, false}) {
        driftFor(90, left);
        ASSERT_GT(kart->driftTime, 0.5f) << left;
        left ? kart->steerRight() : kart->steerLeft();  // against the turn while still turning that way
        EXPECT_FLOAT_EQ(kart->driftTime, 0.0f) << left;
    }
    driftFor(60, true);
    ASSERT_GT(kart->driftTime, 0.0f);
    kart->speed = kart->driftMinSpeed - 5;  // too slow to drift
    world.step();
    EXPECT_FLOAT_EQ(kart->driftTime, 0.0f);
}

TEST_F(KartTest, BodyPoseFollowsTheSteeringMirroredForStraightAndRightTurnsAndSteeringReturns) {
    // Steer, body mesh shown, mirrored.
    const std::tuple<float, size_t, bool> cases[] = {
        {0.0f, 0, true}, {2.0f / 7.0f, 1, false}, {0.28f, 0, true}, {2.0f, 6, false}, {-2.0f, 6, true}};
    for (const auto& [steer, mesh, mirrored] : cases) {
        kart->steer = steer;
        world.step();
        EXPECT_EQ(kart->mesh, kart->bodyMeshes[mesh]) << "steer " << steer;
        EXPECT_EQ(kart->shape->getLocalScaling().x() < 0, mirrored) << "steer " << steer;
        for (const auto& body : kart->bodyMeshes) EXPECT_EQ(body->mirrored, mirrored) << "steer " << steer;
    }
    // Let go, the steering returns: 2 * 0.95^59 is the first value below one steering step, and the
    // step after it snaps to zero.
    EXPECT_EQ(world.stepUntil([&] { return kart->steer == 0; }, 200), 59);
}

TEST_F(KartTest, AHitKnocksTheKartAwayAndSpinsItButDoesNotExtendAFreshSpin) {
    const btVector3 away(1, 0, 0);
    kart->hit(away, 30);
    world.step(12);  // 0.2 s: the knock-back lost 0.5 a sub-step
    EXPECT_FLOAT_EQ(kart->pushStrength, 24.0f);

    const float left = kart->spinTimeLeft;
    kart->hit(away, 30);  // in the first three quarters of the spin: not extended
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, left);
    world.step(45);  // in the last quarter a hit adds a full spin
    const float late = kart->spinTimeLeft;
    kart->hit(away, 30);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, late + kart->spinDuration);
    kart->accelerate();  // no throttle while spinning
    EXPECT_FLOAT_EQ(kart->speed, 0.0f);
}

TEST_F(KartTest, AStarShieldsForTenSecondsAFlashShrinksTheOthersForTwelveAndATurboLastsFour) {
    Vehicle* other = world.addVehicle(btVector3(20, 1, 0));
    world.step(30);
    kart->heldItem = ItemType::star;
    kart->useItem(false);
    kart->heldItem = ItemType::flash;
    kart->useItem(false);
    EXPECT_EQ(kart->heldItem, ItemType::none) << "used once";
    EXPECT_FLOAT_EQ(kart->flashTimeLeft, 0.0f) << "the user is spared";

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
    world.step(239);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->turboMaxSpeed);
    world.step(2);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->normalMaxSpeed);
    kart->hit(btVector3(-1, 0, 0), 50);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, 0.0f) << "the star still shields after six seconds";

    world.step(60 * 11 - 60 - 60 - 241);  // 11 s after the flash and the star
    EXPECT_NEAR(other->scale, 0.4f, 0.02f);
    kart->hit(btVector3(-1, 0, 0), 50);
    EXPECT_FLOAT_EQ(kart->spinTimeLeft, kart->spinDuration) << "the star is over";
    world.step(70);
    EXPECT_FLOAT_EQ(other->scale, 1.0f);
    EXPECT_FLOAT_EQ(other->maxSpeed, other->normalMaxSpeed);
}

TEST(Items, EachOfTheFiveItemsIsDrawnOneTimeInFive) {
    int draws[6] = {};
    for (int value = 0; value < 150; ++value) ++draws[static_cast<int>(Vehicle::itemFor(value))];
    for (int item = 0; item < 5; ++item) EXPECT_EQ(draws[item], 30) << "item " << item;
}

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
    EXPECT_NEAR(kart->pushDirection.x(), -1.0f, 0.05f) << "pushed straight out of the wall";
    // Speed is kept by 1 + h.w, h the wall normal and w the heading: about 1 - sin(0.6).
    EXPECT_LT(kart->speed, speedBefore * 0.6f);
    EXPECT_GT(kart->speed, speedBefore * 0.2f);
    world.step(120);
    EXPECT_LT(kart->worldTransform().getOrigin().x(), 39.0f) << "never through the wall";
}

TEST_F(KartTest, TouchingKartsArePushedApartAndAStarKnocksTheOtherAway) {
    Vehicle* other = world.addVehicle(btVector3(0, 1, 16), false, "Other");
    other->yaw = static_cast<float>(M_PI);  // facing each other
    world.step(30);
    kart->speed = other->speed = 30;
    ASSERT_GT(world.stepUntil([&] { return kart->pushStrength > 0 && other->pushStrength > 0; }, 120), 0);
    // The kart created later handles the contact for both, after its own knock-back has been applied.
    EXPECT_FLOAT_EQ(other->pushStrength, Vehicle::bumpStrength);
    EXPECT_NEAR(kart->pushDirection.z(), -1.0f, 0.05f);
    EXPECT_NEAR(other->pushDirection.z(), 1.0f, 0.05f);
    EXPECT_NEAR(kart->speed, 0.0f, 0.01f) << "driving straight into the other kart";
    EXPECT_NEAR(other->speed, 0.0f, 0.01f);
    world.step(60);
    EXPECT_GT(other->worldTransform().getOrigin().z() - kart->worldTransform().getOrigin().z(), 6.0f) << "apart";

    // Whichever of the two holds a star knocks the other away and is spared.
    for (Vehicle* star : {kart, other}) {
        Vehicle* hit = star == kart ? other : kart;
        star->starTimeLeft = 5;
        ASSERT_GT(world.stepUntil([&] { return hit->spinTimeLeft > 0; }, 120, star), 0);
        EXPECT_FLOAT_EQ(star->spinTimeLeft, 0.0f);
        const btVector3 away = hit->worldTransform().getOrigin() - star->worldTransform().getOrigin();
        EXPECT_GT(hit->pushDirection.dot(away.normalized()), 0.9f);
        EXPECT_GE(hit->pushStrength, Vehicle::starHitStrength - 2 * Vehicle::pushDecay);
        star->starTimeLeft = 0;
        world.step(90);  // the spin and the knock-back are over
    }
}

TEST_F(KartTest, PushesACrateThatHasComeToRest) {
    boost::shared_ptr<Mesh> box = makeBoxMesh(btVector3(1, 1, 1));
    DynamicEntity* crate = new DynamicEntity(world.game.get(), btVector3(0, 1.2f, 25), 5.0f,
                                             btQuaternion::getIdentity(), EntityKind::Dynamic, box,
                                             box->createConvexHullShape());
    world.step(400);  // the crate settles and falls asleep
    ASSERT_FALSE(crate->getRigidBody()->isActive());
    // Touching it, the kart joins the crate's island, and the world wakes the island before the kart acts.
    const float before = crate->getRigidBody()->getWorldTransform().getOrigin().z();
    drive(150);
    EXPECT_GT(crate->getRigidBody()->getWorldTransform().getOrigin().z() - before, 2.0f) << "the crate was pushed";
}

TEST(VehicleStart, AKartWithoutBodyMeshStaysFinite) {
    TestWorld world;
    world.addFloor();
    // Placed touching the floor: a shape of no size has nothing to meet the floor with before it is there.
    Vehicle* empty = world.addVehicle(btVector3(0, 0.02f, 0), false, "Empty", btVector3(0, 0, 0));
    for (int i = 0; i < 120; ++i) {
        empty->accelerate();
        empty->steerLeft();
        world.step();
    }
    const btTransform& transform = empty->worldTransform();
    EXPECT_TRUE(std::isfinite(transform.getOrigin().length()));
    EXPECT_TRUE(std::isfinite(transform.getBasis().getColumn(0).length()));
    EXPECT_GT(transform.getOrigin().y(), -1.0f) << "stays on the floor";
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
    EXPECT_NEAR(kart->worldTransform().getBasis().getColumn(1).dot(btVector3(0, std::cos(slope), -std::sin(slope))),
                1.0f, 1e-4f)
        << "the kart's up axis is the slope's normal";
}
