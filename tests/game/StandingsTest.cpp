#include <gtest/gtest.h>

#include "entities/Vehicle.h"
#include "game/Game.h"
#include "game/RaceEvents.h"
#include "level/Course.h"
#include "support/TestWorld.h"

namespace {

// Karts moved by hand around the default square course (start line at x = -100, z = 0, driving +Z).
struct Standings {
    Standings() { world.game->setCourse(Course::defaultPoints()); }

    Vehicle* kartAt(const btVector3& position) { return world.addVehicle(position); }
    void place(Vehicle* kart, const btVector3& position) { kart->worldTransform().setOrigin(position); }
    const RaceRecord& record(int index) const { return world.game->raceRecords[index]; }
    void update(int times = 1) {
        for (int i = 0; i < times; ++i) world.game->updateRace();
    }
    // Drives once around the course by hand, ending just past the start line.
    void lap(Vehicle* kart) {
        for (const btVector3& p : {btVector3(-100, 0, 50), btVector3(0, 0, 100), btVector3(100, 0, 0),
                                   btVector3(0, 0, -100), btVector3(-100, 0, -50), btVector3(-100, 0, -5),
                                   btVector3(-100, 0, 5)}) {
            place(kart, p);
            update();
        }
    }

    TestWorld world;
};

struct StandingsTest : ::testing::Test, Standings {};

const btVector3 behindTheLine(-100, 0, -5);
const btVector3 pastTheLine(-100, 0, 5);

}  // namespace

// Hears the crossings and finishes, as the sound and the lap clock will.
struct CrossingLog : RaceEvents {
    void lineCrossed(const Vehicle&, int lapCounter) override { crossings.push_back(lapCounter); }
    void kartFinished(const Vehicle&, int rank) override { finishRanks.push_back(rank); }
    std::vector<int> crossings;
    std::vector<int> finishRanks;
};

TEST_F(StandingsTest, ForwardCrossingsCountLapsAndThePlayersSixthEndsTheRace) {
    CrossingLog log;
    world.game->events = &log;
    Vehicle* kart = kartAt(behindTheLine);
    Vehicle* other = kartAt(btVector3(-100, 0, -20));
    world.game->players.push_back(kart);
    update();
    EXPECT_EQ(record(0).segment, 4);
    EXPECT_EQ(record(0).lap, 0);
    EXPECT_EQ(record(0).rank, 1);
    place(kart, pastTheLine);
    update();
    EXPECT_EQ(record(0).segment, 0);
    EXPECT_EQ(record(0).lap, 1) << "the first crossing from the grid counts";
    EXPECT_NEAR(record(0).progress, 5.0f / 800.0f, 1e-5f);

    // Backwards over the line and forwards again: no lap for coming back.
    place(kart, behindTheLine);
    update();
    EXPECT_TRUE(record(0).crossedBackwards);
    place(kart, pastTheLine);
    update();
    EXPECT_FALSE(record(0).crossedBackwards);
    EXPECT_EQ(record(0).lap, 1);

    for (int lapNumber = 2; lapNumber <= 5; ++lapNumber) {
        lap(kart);
        EXPECT_EQ(record(0).lap, lapNumber);
        EXPECT_FALSE(record(0).finished);
    }
    EXPECT_FALSE(world.game->raceOver);
    lap(kart);
    EXPECT_EQ(record(0).lap, 6);
    EXPECT_TRUE(record(0).finished);
    // The lap clock counts sub-steps: a lap by hand takes seven, the first (and the way back over the
    // line) more; the finish is the race's sub-step count when it came.
    EXPECT_EQ(record(0).bestLapSteps, 7);
    EXPECT_EQ(record(0).finishSteps, 39);
    EXPECT_EQ(world.game->raceSteps, 39);
    EXPECT_TRUE(world.game->raceOver);
    EXPECT_EQ(log.crossings, (std::vector<int>{1, 2, 3, 4, 5, 6})) << "not the crossing back";
    EXPECT_EQ(log.finishRanks, std::vector<int>{1});
    place(kart, btVector3(-100, 0, 50));
    place(other, btVector3(100, 0, 0));
    update();
    EXPECT_EQ(record(0).segment, 0) << "a finished record is frozen";
    EXPECT_EQ(record(1).segment, 4) << "the bookkeeping stops with the race";
}

TEST(StandingsOfLaps, TheRaceEndsAfterTheLapsItWasSetUpFor) {
    for (int laps : {1, 3, 9}) {
        SCOPED_TRACE(laps);
        Standings race;
        race.world.game->settings.laps = laps;
        Vehicle* kart = race.kartAt(behindTheLine);
        race.world.game->players.push_back(kart);
        race.update();
        race.place(kart, pastTheLine);
        race.update();
        for (int lapNumber = 1; lapNumber < laps; ++lapNumber) race.lap(kart);
        EXPECT_FALSE(race.world.game->raceOver);
        race.lap(kart);
        EXPECT_TRUE(race.world.game->raceOver);
    }
}

TEST_F(StandingsTest, LapsThenProgressDecideTheRanksAndTiesShareOne) {
    Vehicle* a = kartAt(behindTheLine);
    kartAt(btVector3(-100, 0, 60));
    kartAt(btVector3(-100, 0, 60));
    update(2);
    // On lap 0 the kart behind the line is almost a whole lap through.
    EXPECT_EQ(record(0).rank, 1);
    EXPECT_EQ(record(1).rank, 2);
    EXPECT_EQ(record(2).rank, 2) << "equal progress, equal rank";

    // Over the line its progress starts again near 0, but a lap ahead beats any progress.
    place(a, pastTheLine);
    update(2);
    EXPECT_EQ(record(0).lap, 1);
    EXPECT_LT(record(0).progress, record(1).progress);
    EXPECT_EQ(record(0).rank, 1);
    EXPECT_EQ(record(1).rank, 2);
    EXPECT_EQ(record(2).rank, 2);

    // Off every slab (where the square's closing planes meet) the last progress stands.
    const float progress = record(0).progress;
    place(a, btVector3(0, 0, 0));
    update();
    EXPECT_EQ(record(0).segment, -1);
    EXPECT_FLOAT_EQ(record(0).progress, progress);
}

TEST_F(StandingsTest, FinishersAheadInAnyListOrderAllCount) {
    Vehicle* third = kartAt(behindTheLine);
    Vehicle* second = kartAt(behindTheLine);
    Vehicle* first = kartAt(behindTheLine);
    update();
    // The last kart in the list finishes first, then the middle one; the first is still racing.
    for (Vehicle* kart : {first, second, third}) {
        place(kart, pastTheLine);
        update();
    }
    for (int i = 0; i < 5; ++i) lap(first);
    for (int i = 0; i < 5; ++i) lap(second);
    ASSERT_TRUE(record(2).finished);
    ASSERT_TRUE(record(1).finished);
    EXPECT_EQ(record(2).rank, 1);
    EXPECT_EQ(record(1).rank, 2);
    place(third, btVector3(100, 0, 0));
    update();
    EXPECT_EQ(record(0).rank, 3) << "behind both finishers, not only the last one in the list";
}

TEST_F(StandingsTest, VehicleAheadIsOneRankUpAndTheLeaderAimsAtTheLast) {
    Vehicle* first = kartAt(btVector3(-100, 0, 80));
    Vehicle* second = kartAt(btVector3(-100, 0, 50));
    Vehicle* third = kartAt(btVector3(-100, 0, 20));
    Game& game = *world.game;
    EXPECT_EQ(game.vehicleAhead(second), second) << "nobody placed yet";
    update(2);
    EXPECT_EQ(game.vehicleAhead(third), second);
    EXPECT_EQ(game.vehicleAhead(second), first);
    EXPECT_EQ(game.vehicleAhead(first), third);
    EXPECT_EQ(game.vehicleAhead(nullptr), third) << "not in the race: the last place";
}
