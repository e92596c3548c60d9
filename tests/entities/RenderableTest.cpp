#include <gtest/gtest.h>

#include "game/Light.h"

namespace {

// Light is the smallest concrete Renderable; it never overrides the scale logic.
struct Probe : Light {
    Probe() : Light(nullptr, nullptr, nullptr, nullptr, 1, 0, 0, 0) {}
};

}  // namespace

TEST(RenderableScale, FlagsAndRadiusFollowTheFactors) {
    Probe renderable;
    EXPECT_FLOAT_EQ(renderable.getBoundingRadius(), -1.0f);  // unknown until a radius is set
    renderable.radius = 3;

    renderable.setScale(2, 2, 2);
    EXPECT_FLOAT_EQ(renderable.scaledRadius, 6);
    EXPECT_TRUE(renderable.uniformScale);
    EXPECT_FALSE(renderable.nonUniformScale);
    EXPECT_FALSE(renderable.mirrored);

    renderable.setScale(1, 1, 1);
    EXPECT_FALSE(renderable.uniformScale);
    EXPECT_FALSE(renderable.nonUniformScale);
    EXPECT_FLOAT_EQ(renderable.scaledRadius, 3);

    renderable.setScale(-1, -1, -1);
    EXPECT_TRUE(renderable.uniformScale);
    EXPECT_TRUE(renderable.mirrored);
    EXPECT_FLOAT_EQ(renderable.scaledRadius, -3);

    renderable.setScale(1, -3, 2);
    EXPECT_TRUE(renderable.nonUniformScale);
    EXPECT_FALSE(renderable.uniformScale);
    EXPECT_TRUE(renderable.mirrored);
    EXPECT_FLOAT_EQ(renderable.scaledRadius, 9);

    // |x| is not greater than |y|, so the larger of y and z is taken.
    renderable.setScale(2, 2, 1);
    EXPECT_FLOAT_EQ(renderable.scaledRadius, 6);
}
