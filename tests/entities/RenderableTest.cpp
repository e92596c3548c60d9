#include <gtest/gtest.h>

#include "game/Light.h"

TEST(RenderableScale, FlagsAndRadiusFollowTheFactors) {
    // Light is the smallest concrete Renderable; it never overrides the scale logic.
    Light renderable(nullptr, nullptr, nullptr, nullptr, 1, 0, 0, 0);
    EXPECT_FLOAT_EQ(renderable.getBoundingRadius(), -1.0f);  // unknown until a radius is set
    renderable.radius = 3;
    const struct {
        float x, y, z;
        bool uniform, nonUniform, mirrored;
        float scaledRadius;
    } cases[] = {
        {2, 2, 2, true, false, false, 6},   {1, 1, 1, false, false, false, 3}, {-1, -1, -1, true, false, true, -3},
        {1, -3, 2, false, true, true, 9},
        {2, 2, 1, false, true, false, 6},  // |x| is not greater than |y|, so the larger of y and z is taken
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y) + ", " + std::to_string(c.z));
        renderable.setScale(c.x, c.y, c.z);
        EXPECT_EQ(renderable.uniformScale, c.uniform);
        EXPECT_EQ(renderable.nonUniformScale, c.nonUniform);
        EXPECT_EQ(renderable.mirrored, c.mirrored);
        EXPECT_FLOAT_EQ(renderable.scaledRadius, c.scaledRadius);
    }
}
