#include "replay/ReplayVerdict.h"

#include <sstream>

#include "game/RaceTimeText.h"
#include "replay/Replay.h"

bool ReplayVerdict::checks(const Replay& replay) const {
    return firstMismatchSecond == 0 && checksCompared == replay.checks.size() && finishSteps == replay.finishSteps &&
           bestLapSteps == replay.bestLapSteps;
}

std::string ReplayVerdict::text(const Replay& replay) const {
    std::ostringstream line;
    line << "race " << raceTimeText(finishSteps) << ", best lap " << raceTimeText(bestLapSteps) << ": ";
    if (firstMismatchSecond > 0) {
        line << "DIFFERS from the check value after second " << firstMismatchSecond << " on";
    } else if (checksCompared < replay.checks.size()) {
        line << "DIFFERS: the race ended after " << checksCompared << " of " << replay.checks.size()
             << " check values";
    } else if (finishSteps != replay.finishSteps || bestLapSteps != replay.bestLapSteps) {
        line << "DIFFERS: the replay claims race " << raceTimeText(replay.finishSteps) << ", best lap "
             << raceTimeText(replay.bestLapSteps);
    } else {
        line << "all " << checksCompared << " check values match";
    }
    return line.str();
}
