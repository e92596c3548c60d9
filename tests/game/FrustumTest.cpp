#include <gtest/gtest.h>

#include "game/Camera.h"
#include "game/Game.h"
#include "game/Light.h"
#include "game/RenderSettings.h"

namespace {

// Something with a chosen bounding sphere.
struct Ball : Light {
    Ball(const btVector3& centre, float radius) : Light(nullptr, nullptr, nullptr, nullptr, 1, 0, 0, 0) {
        center = centre;
        scaledRadius = radius;
    }
};

// A camera at the origin looking down +Z.
struct FrustumTest : ::testing::Test {
    FrustumTest() : camera(nullptr) {
        renderSettings = RenderSettings();
        camera.eye = btVector3(0, 0, 0);
        camera.viewDirection = btVector3(0, 0, 1);
        game.buildFrustumPlanes(camera);
    }
    ~FrustumTest() override { renderSettings = RenderSettings(); }
    bool visible(const btVector3& centre, float radius) {
        Ball ball(centre, radius);
        return game.isVisible(&ball);
    }
    Game game;
    Camera camera;
};

}  // namespace

// Each rejection is counted once, on the first plane that rejects; objects straddling a plane are drawn.
TEST_F(FrustumTest, CullsWhatLiesWhollyOutsideAndCountsItOnTheFirstPlaneThatRejects) {
    EXPECT_TRUE(visible(btVector3(0, 0, 20), 1));
    EXPECT_FALSE(visible(btVector3(0, 0, -50), 1));     // behind the camera
    EXPECT_FALSE(visible(btVector3(0, 0, 20000), 1));   // beyond the far plane
    EXPECT_FALSE(visible(btVector3(-1000, 0, 10), 1));  // far to the right: +X is left of a +Z view
    EXPECT_FALSE(visible(btVector3(0, 0, -5), 0));
    EXPECT_EQ(game.cullCounts[0], 2u);
    EXPECT_EQ(game.cullCounts[5], 1u);
    EXPECT_EQ(game.cullCounts[1] + game.cullCounts[2], 1u);
    EXPECT_EQ(game.cullCounts[3] + game.cullCounts[4], 0u);

    // The near plane lies 3 units ahead: a ball 2 units ahead reaching past it is drawn.
    EXPECT_TRUE(visible(btVector3(0, 0, 2), 1.5f));
    EXPECT_FALSE(visible(btVector3(0, 0, 1), 1.5f));
    EXPECT_TRUE(visible(btVector3(0, 0, 10001), 2));
    // Top plane: vertical half angle 32.5 degrees; a point at height 20 at distance 10 is outside.
    EXPECT_FALSE(visible(btVector3(0, 20, 10), 1));
    EXPECT_TRUE(visible(btVector3(0, 20, 10), 15));
    // The default radius of -1 makes the test one unit stricter.
    EXPECT_FALSE(visible(btVector3(0, 0, 3.5f), -1));
    EXPECT_TRUE(visible(btVector3(0, 0, 4.5f), -1));

    // Looking straight up the side planes have no normal: only near and far remain.
    camera.viewDirection = btVector3(0, 1, 0);
    game.buildFrustumPlanes(camera);
    EXPECT_TRUE(visible(btVector3(500, 10, 0), 0));
    EXPECT_FALSE(visible(btVector3(0, -10, 0), 0));
}
