#include <algorithm>

#include <gtest/gtest.h>

#include "game/MessageLog.h"

TEST(MessageLog, StartsWithTestOutputThatExpiresAfterThreeSeconds) {
    MessageLog log(0.0);
    ASSERT_EQ(log.getTexts().size(), 1u);
    EXPECT_EQ(log.getTexts()[0], "test output");
    log.purgeExpired(3.0);
    EXPECT_EQ(log.getTexts().size(), 1u) << "shown for the full three seconds";
    log.purgeExpired(3.01);
    EXPECT_TRUE(log.getTexts().empty());
}

TEST(MessageLog, ShowingAgainRefreshesInsteadOfAdding) {
    MessageLog log(0.0);
    log.show("Display lists disabled", 1.0);
    log.show("Display lists enabled", 1.5);
    log.show("Display lists disabled", 2.0);
    ASSERT_EQ(log.getTexts().size(), 3u);
    EXPECT_EQ(log.getTexts()[1], "Display lists disabled");
    EXPECT_DOUBLE_EQ(log.getTimes()[1], 2.0);
}

TEST(MessageLog, HoldsAtMostEightAndDropsTheOldest) {
    MessageLog log(0.0);
    for (int i = 1; i <= 7; ++i) log.show("message " + std::to_string(i), i);
    ASSERT_EQ(log.getTexts().size(), 8u);
    log.show("ninth", 9.0);
    ASSERT_EQ(log.getTexts().size(), 8u);
    EXPECT_EQ(log.getTexts().front(), "message 1") << "test output, the oldest, went";
    EXPECT_EQ(log.getTexts().back(), "ninth");

    // The oldest is found by time, not by place: refresh the first and add another.
    log.show("message 1", 10.0);
    log.show("tenth", 11.0);
    EXPECT_EQ(log.getTexts().front(), "message 1");
    EXPECT_EQ(std::count(log.getTexts().begin(), log.getTexts().end(), "message 2"), 0);
}

TEST(MessageLog, OnlyTheFrontOfTheListExpires) {
    MessageLog log(0.0);
    log.show("B", 1.0);
    log.show("test output", 2.5);  // refreshed at the front
    log.purgeExpired(4.5);
    EXPECT_EQ(log.getTexts().size(), 2u) << "B is overdue but stays behind the fresh message";
    log.purgeExpired(5.6);
    EXPECT_TRUE(log.getTexts().empty());
}
