#include "replay/ReplayRun.h"

#include <sstream>

#include <btBulletDynamicsCommon.h>

#include "game/Game.h"
#include "game/RaceTimeText.h"
#include "items/ParticleEmitter.h"
#include "replay/Replay.h"
#include "replay/ReplaySource.h"

void ReplayRun::run(const std::function<void(const Game&)>& afterSubStep) {
    ReplaySource source(replay);
    game.settings = replay.settings;
    game.readControls = [this, &source] { return source.next(game); };
    game.restart();
    while (!game.raceOver && !source.exhausted(game)) {
        game.dynamicsWorld->stepSimulation(Game::subStep, 1, Game::subStep);
        // No frame moves the dust on here; without this it would pile up over the race.
        for (ParticleEmitter* emitter : ParticleEmitter::allEmitters) emitter->update(Game::subStep);
        if (afterSubStep) afterSubStep(game);
    }
    game.readControls = nullptr;
    checksCompared = source.checksCompared();
    firstMismatchSecond = source.firstMismatchSecond();
    if (!game.players.empty()) {
        const int index = game.vehicles.findLinearSearch(game.players.front());
        if (index < game.vehicles.size()) {
            finishSteps = game.raceRecords[index].finishSteps;
            bestLapSteps = game.raceRecords[index].bestLapSteps;
        }
    }
}

bool ReplayRun::checks() const {
    return firstMismatchSecond == 0 && checksCompared == replay.checks.size() && finishSteps == replay.finishSteps &&
           bestLapSteps == replay.bestLapSteps;
}

std::string ReplayRun::verdict() const {
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
