#include "replay/ReplaySession.h"

#include <iostream>

#include "game/Game.h"
#include "game/MessageLog.h"
#include "game/RaceRecord.h"
#include "game/RaceTimeText.h"
#include "replay/RaceCheck.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplaySource.h"

ReplaySession::ReplaySession(int circuit, const std::string& media, std::string dataFolder)
    : recorder(circuit >= 0 ? new ReplayRecorder(circuit, media) : nullptr),
      circuit(circuit),
      dataFolder(std::move(dataFolder)) {}

ReplaySession::ReplaySession(Replay replay) : playing(std::move(replay)), circuit(playing->circuit) {
    source.reset(new ReplaySource(*playing));
}

ReplaySession::~ReplaySession() = default;

PlayerControls ReplaySession::controls(const Game& game, PlayerControls device) {
    if (recorder) return recorder->record(game, device);
    if (!source) return device;
    PlayerControls controls = source->next(game);
    // After the replay's race the player's Enter plays it again.
    if (game.raceOver) controls.set(PlayerControls::restart, device.has(PlayerControls::restart));
    return controls;
}

void ReplaySession::afterPhysics(const Game& game) {
    const bool ended = game.raceOver || (source && source->exhausted(game));
    if (!ended) {
        raceHandled = false;
        return;
    }
    if (raceHandled) return;
    raceHandled = true;
    if (source) {
        const ReplayVerdict verdict = source->verdict(game);
        std::cout << "replay of circuit " << circuit << ": " << verdict.text(*playing) << std::endl;
        showMessage(verdict.checks(*playing) ? "The replay ran as recorded" : "The replay ran otherwise");
        return;
    }
    const RaceRecord* record = playerRecord(game);
    // A race ended with E is no finish, and keeps nothing.
    if (!recorder || !record || record->finishSteps < 0) return;
    const Replay replay = recorder->replay(game);
    const ReplayArchive archive(dataFolder);
    const std::string improved = archive.keep(replay);
    std::cout << "race " << raceTimeText(replay.finishSteps) << ", best lap " << raceTimeText(replay.bestLapSteps)
              << ": replay kept as " << archive.lastPath(circuit) << std::endl;
    if (!improved.empty()) {
        std::cout << improved << std::endl;
        showMessage(improved);
    }
}
