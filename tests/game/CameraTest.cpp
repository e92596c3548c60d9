#include <gtest/gtest.h>

#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "support/TestWorld.h"

namespace {

// A kart settled on a floor.
struct FollowCamera : ::testing::Test {
    FollowCamera() {
        world.addFloor();
        kart = world.addVehicle(btVector3(5, 1, 7));
        world.step(30);
    }
    void follow(Camera& camera, int frames) {
        for (int frame = 0; frame < frames; ++frame) camera.follow(1.0f / 60.0f);
    }
    TestWorld world;
    Vehicle* kart;
};

}  // namespace

TEST_F(FollowCamera, SettlesBehindAndAboveAStillKartOnItsLeash) {
    const btTransform& transform = kart->worldTransform();
    const btVector3 o = transform.getOrigin();
    const btVector3 y = transform.getBasis().getColumn(1), z = transform.getBasis().getColumn(2);
    const btVector3 desired = o - z * 15 + y * 9;

    Camera camera(kart);  // the eye starts at the world origin, far from its place
    camera.follow(0.1f);
    EXPECT_NEAR(camera.eye.distance(desired), 10 - 20 * 0.1f, 1e-3f) << "leash minus one step of catching up";
    follow(camera, 400);
    EXPECT_LT(camera.eye.distance(desired), 1e-3f);
    EXPECT_LT(camera.lookAt.distance(o + z * 15), 1e-2f);
    EXPECT_NEAR(camera.viewDirection.length(), 1.0f, 1e-5f);
}

TEST_F(FollowCamera, TranslatesWithoutTurningWhileTheKartSpins) {
    Camera camera(kart);
    follow(camera, 200);
    const btVector3 view = camera.viewDirection;
    const btVector3 eye = camera.eye;
    kart->hit(btVector3(1, 0, 0), 30);
    world.step(20);
    camera.follow(1.0f / 60.0f);
    EXPECT_LT(camera.viewDirection.distance(view), 1e-5f);
    EXPECT_GT(camera.eye.x() - eye.x(), 1.0f) << "moved with the knocked kart";
}
