#include "replay/ReplaySource.h"

#include "game/Game.h"
#include "replay/RaceCheck.h"
#include "replay/Replay.h"

PlayerControls ReplaySource::next(const Game& game) {
    PlayerControls controls;
    if (game.raceOver) return controls;
    const int64_t step = game.raceSteps;
    if (step == 0) compared = mismatch = 0;
    if (step > 0 && step % Replay::stepsPerCheck == 0) {
        const size_t second = static_cast<size_t>(step / Replay::stepsPerCheck);
        if (second <= replay.checks.size()) {
            ++compared;
            if (mismatch == 0 && raceCheckValue(game) != replay.checks[second - 1]) mismatch = second;
        }
    }
    if (step < static_cast<int64_t>(replay.controls.size())) controls.flags = replay.controls[step];
    return controls;
}

bool ReplaySource::exhausted(const Game& game) const {
    return game.raceSteps >= static_cast<int64_t>(replay.controls.size());
}

ReplayVerdict ReplaySource::verdict(const Game& game) const {
    ReplayVerdict verdict;
    verdict.checksCompared = compared;
    verdict.firstMismatchSecond = mismatch;
    if (const RaceRecord* record = playerRecord(game)) {
        verdict.finishSteps = record->finishSteps;
        verdict.bestLapSteps = record->bestLapSteps;
    }
    return verdict;
}
