#include <LinearMath/btTransform.h>
#include <gtest/gtest.h>

#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "support/TestWorld.h"

TEST(FollowCamera, SettlesBehindAndAboveAStillKart) {
    TestWorld world;
    world.addFloor();
    Vehicle* kart = world.addVehicle(btVector3(5, 1, 7));
    world.step(30);
    Camera camera(kart);
    for (int frame = 0; frame < 400; ++frame) camera.follow(1.0f / 60.0f);
    btTransform transform;
    kart->getWorldTransform(transform);
    const btVector3 o = transform.getOrigin();
    const btVector3 y = transform.getBasis().getColumn(1), z = transform.getBasis().getColumn(2);
    EXPECT_LT(camera.eye.distance(o - z * 15 + y * 9), 1e-3f);
    EXPECT_LT(camera.lookAt.distance(o + z * 15), 1e-2f);
    EXPECT_NEAR(camera.viewDirection.length(), 1.0f, 1e-5f);
}

TEST(FollowCamera, StaysOnItsLeashAndOvershootsOnlyOnVeryLongFrames) {
    TestWorld world;
    world.addFloor();
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    world.step(30);
    btTransform transform;
    kart->getWorldTransform(transform);
    const btVector3 desired = transform.getOrigin() + btVector3(0, 9, -15);

    Camera camera(kart);  // the eye starts at the world origin, far from its place
    camera.follow(0.1f);
    EXPECT_NEAR(camera.eye.distance(desired), 10 - 20 * 0.1f, 1e-3f) << "leash minus one step of catching up";

    Camera jumpy(kart);
    jumpy.eye = desired + btVector3(20, 0, 0);
    jumpy.follow(0.75f);  // 10 - 15 < 0: the eye passes to the far side of its place
    EXPECT_LT(jumpy.eye.x(), desired.x());
}

TEST(FollowCamera, TranslatesWithoutTurningWhileTheKartSpins) {
    TestWorld world;
    world.addFloor();
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    world.step(30);
    Camera camera(kart);
    for (int frame = 0; frame < 200; ++frame) camera.follow(1.0f / 60.0f);
    const btVector3 view = camera.viewDirection;
    const btVector3 eye = camera.eye;
    kart->hit(btVector3(1, 0, 0), 30);
    world.step(20);
    camera.follow(1.0f / 60.0f);
    EXPECT_LT(camera.viewDirection.distance(view), 1e-5f);
    btTransform transform;
    kart->getWorldTransform(transform);
    EXPECT_GT(camera.eye.x() - eye.x(), 1.0f) << "moved with the knocked kart";
}
