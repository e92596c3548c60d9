#include "replay/ReplayRecorder.h"

#include "game/Game.h"
#include "replay/BuildIdentity.h"
#include "replay/RaceCheck.h"

ReplayRecorder::ReplayRecorder(int circuit, const std::string& media) {
    recording.circuit = circuit;
    recording.media = media;
    recording.build = gameBuildIdentity();
}

PlayerControls ReplayRecorder::record(const Game& game, PlayerControls controls) {
    // After the race the controls only ask for the next one; they are no part of this race.
    if (game.raceOver) return controls;
    const int64_t step = game.raceSteps;
    if (step == 0) {
        recording.settings = game.settings;
        recording.controls.clear();
        recording.checks.clear();
    }
    // A race longer than a replay holds is no longer recorded; its replay would not be read back.
    if (static_cast<int64_t>(recording.controls.size()) != step || step >= RaceSettings::maxRaceSteps) return controls;
    if (step > 0 && step % Replay::stepsPerCheck == 0) recording.checks.push_back(raceCheckValue(game));
    recording.controls.push_back(controls.flags);
    return controls;
}

Replay ReplayRecorder::replay(const Game& game) const {
    Replay replay = recording;
    if (const RaceRecord* record = playerRecord(game)) {
        replay.finishSteps = record->finishSteps;
        replay.bestLapSteps = record->bestLapSteps;
    }
    return replay;
}
