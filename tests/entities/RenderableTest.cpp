#include <gtest/gtest.h>

#include <LinearMath/btVector3.h>

#include "game/Light.h"

TEST(RenderableScale, ANegativeFactorOnAnyAxisMirrors) {
    // Light is the smallest concrete Renderable; it never overrides the scale logic.
    Light renderable(nullptr, nullptr, nullptr, nullptr, 1, 0, 0, 0);
    for (const btVector3& s : {btVector3(-1, 1, 1), btVector3(1, -3, 2), btVector3(2, 1, -1), btVector3(-1, -1, -1)}) {
        renderable.setScale(s.x(), s.y(), s.z());
        EXPECT_TRUE(renderable.mirrored) << s.x() << ", " << s.y() << ", " << s.z();
    }
    renderable.setScale(2, 3, 4);
    EXPECT_FALSE(renderable.mirrored);
}
