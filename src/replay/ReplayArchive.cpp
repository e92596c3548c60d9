#include "replay/ReplayArchive.h"

#include <filesystem>
#include <iostream>

#include "game/RaceTimeText.h"
#include "records/RecordStore.h"
#include "replay/Replay.h"
#include "storage/PlayerFile.h"

std::string ReplayArchive::lastPath(int circuit) const {
    return folder + "/replays/circuit-" + std::to_string(circuit) + "-last.replay";
}

std::string ReplayArchive::bestPath(int circuit, int laps) const {
    return folder + "/replays/circuit-" + std::to_string(circuit) + "-" + std::to_string(laps) + "-laps-best.replay";
}

std::string ReplayArchive::keep(const Replay& replay) const {
    if (folder.empty()) return "";  // no home: nothing is kept
    const std::string bytes = replay.toBytes();
    std::string error;
    if (!PlayerFile(lastPath(replay.circuit)).write(bytes, error)) std::cerr << "ERROR: replay not saved: " << error << std::endl;
    // The best replay is written under the records' lock, so that it is always the race the records name.
    const RecordBook::Improvement improvement = RecordStore(folder).offer(
        replay.circuit, replay.settings.laps, replay.finishSteps, replay.bestLapSteps,
        [&](RecordBook::Improvement improved) {
            if (improved.race && !PlayerFile(bestPath(replay.circuit, replay.settings.laps)).write(bytes, error)) {
                std::cerr << "ERROR: best replay not saved: " << error << std::endl;
            }
        });
    const std::string over = " over " + std::to_string(replay.settings.laps) + (replay.settings.laps == 1 ? " lap: " : " laps: ");
    if (improvement.race) return "Best race on this circuit" + over + raceTimeText(replay.finishSteps);
    if (improvement.lap) return "Best lap on this circuit" + over + raceTimeText(replay.bestLapSteps);
    return "";
}

std::optional<Replay> ReplayArchive::best(int circuit, int laps, std::string& error) const {
    error.clear();
    std::error_code code;
    if (folder.empty() || !std::filesystem::exists(bestPath(circuit, laps), code)) return std::nullopt;
    return load(bestPath(circuit, laps), error);
}

std::optional<Replay> ReplayArchive::load(const std::string& path, std::string& error) {
    const std::optional<std::string> bytes = PlayerFile(path).read(Replay::maxFileBytes, error);
    if (!bytes) {
        if (error.empty()) error = "no such file";
        return std::nullopt;
    }
    return Replay::fromBytes(*bytes, error);
}
