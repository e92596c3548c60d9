#include <gtest/gtest.h>

#include "replay/Replay.h"
#include "replay/ReplayArchive.h"
#include "support/TestMedia.h"

// The fault: the best replay written over by a slower race, so that it no longer is the race the
// records name (nor the ghost the best one), or the last race not kept.
TEST(ReplayArchive, KeepsEveryRaceAsTheLastAndOnlyARecordAsTheBest) {
    TestMedia folder;
    const ReplayArchive archive(folder.root());
    Replay race;
    race.build = race.media = "b";
    race.circuit = 4;
    race.settings.laps = 2;
    for (int64_t time : {900, 1000, 800}) {
        race.controls.assign(static_cast<size_t>(time), 0);
        race.checks.assign(Replay::checkCount(race.controls.size()), 0);
        race.finishSteps = time;
        race.bestLapSteps = time / 3;
        archive.keep(race);
        std::string error;
        EXPECT_EQ(ReplayArchive::load(archive.lastPath(4), error)->finishSteps, time) << error;
        EXPECT_EQ(archive.best(4, 2, error)->finishSteps, time == 1000 ? 900 : time) << error;
    }
    std::string error;
    EXPECT_FALSE(archive.best(4, 3, error)) << "no race over three laps";
    EXPECT_EQ(error, "");
}
