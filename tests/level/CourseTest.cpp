#include <cmath>

#include <gtest/gtest.h>

#include "level/Course.h"

TEST(Course, FindsSegmentsAndMeasuresTheLap) {
    const Course course(Course::defaultPoints());
    EXPECT_EQ(findCheckpoint(btVector3(-90, 0, 50), course), 0);
    EXPECT_NEAR(course.lapFraction(0, btVector3(-90, 0, 50)), 50.0f / (100 - 10) * 0.125f, 1e-6f);
    // The start plane is inclusive, the end plane exclusive.
    EXPECT_EQ(findCheckpoint(btVector3(-100, 0, 0), course), 0);
    EXPECT_EQ(findCheckpoint(btVector3(-100, 0, -1), course), 4);
    // Where every closing plane meets, no slab holds the point.
    EXPECT_EQ(findCheckpoint(btVector3(0, 0, 0), course), -1);
    EXPECT_EQ(findCheckpoint(btVector3(NAN, 0, 0), course), -1);
    // The fraction runs on across a corner, off the centre line too.
    ASSERT_EQ(findCheckpoint(btVector3(-80, 0, 70), course), 0);
    ASSERT_EQ(findCheckpoint(btVector3(-70, 0, 80), course), 1);
    EXPECT_LT(course.lapFraction(0, btVector3(-80, 0, 70)), 0.125f);
    EXPECT_GT(course.lapFraction(1, btVector3(-70, 0, 80)), 0.125f);
    EXPECT_NEAR(course.lapFraction(1, btVector3(-80, 0, 80)), 0.125f, 1e-5f) << "on the corner's bisector";
    EXPECT_NEAR(course.lapFraction(4, btVector3(-100, 0, -1e-4f)), 1.0f, 1e-5f);
}

// Lists the checkpoints file could give are covered by its own tests; these are the rest.
TEST(Course, OnlyBuildableListsAreUsable) {
    EXPECT_TRUE(Course::isUsable({btVector3(0, 0, 0), btVector3(0, 0, 10), btVector3(10, 0, 0)}));
    EXPECT_FALSE(Course::isUsable({btVector3(0, 0, 0), btVector3(0, INFINITY, 10), btVector3(10, 0, 0)}));
    // An unusable list builds the default square rather than dividing by zero.
    const Course fallback({btVector3(1, 1, 1), btVector3(1, 1, 1), btVector3(1, 1, 1)});
    EXPECT_EQ(fallback.segmentCount(), 5);
    EXPECT_FLOAT_EQ(fallback.totalLength, 800);
}
