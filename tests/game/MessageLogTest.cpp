#include <algorithm>

#include <gtest/gtest.h>

#include "game/MessageLog.h"

TEST(MessageLog, ShowingAgainRefreshesAtMostEightAreKeptAndOnlyTheFrontExpires) {
    MessageLog log(0.0);
    EXPECT_EQ(log.getTexts(), std::vector<std::string>{"test output"});
    log.show("Display lists disabled", 1.0);
    log.show("Display lists enabled", 1.5);
    log.show("Display lists disabled", 2.0);
    ASSERT_EQ(log.getTexts().size(), 3u);
    EXPECT_EQ(log.getTexts()[1], "Display lists disabled");
    EXPECT_DOUBLE_EQ(log.getTimes()[1], 2.0);

    for (int i = 1; i <= 5; ++i) log.show("message " + std::to_string(i), 2.0 + i);
    ASSERT_EQ(log.getTexts().size(), 8u);
    log.show("ninth", 9.0);
    ASSERT_EQ(log.getTexts().size(), 8u);
    EXPECT_EQ(log.getTexts().front(), "Display lists disabled") << "test output, the oldest, went";
    EXPECT_EQ(log.getTexts().back(), "ninth");
    // The oldest is found by time, not by place: "Display lists enabled" goes next, not the front.
    log.show("tenth", 10.0);
    EXPECT_EQ(log.getTexts().front(), "Display lists disabled");
    EXPECT_EQ(std::count(log.getTexts().begin(), log.getTexts().end(), "Display lists enabled"), 0);

    // Messages last three seconds, and only the front one expires.
    MessageLog refreshed(0.0);
    refreshed.purgeExpired(3.0);
    EXPECT_EQ(refreshed.getTexts().size(), 1u) << "shown for the full three seconds";
    refreshed.show("B", 1.0);
    refreshed.show("test output", 2.5);  // refreshed at the front
    refreshed.purgeExpired(4.5);
    EXPECT_EQ(refreshed.getTexts().size(), 2u) << "B is overdue but stays behind the fresh message";
    refreshed.purgeExpired(5.6);
    EXPECT_TRUE(refreshed.getTexts().empty());
}
