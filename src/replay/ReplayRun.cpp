#include "replay/ReplayRun.h"

#include <btBulletDynamicsCommon.h>

#include "game/Game.h"
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
    result = source.verdict(game);
}
