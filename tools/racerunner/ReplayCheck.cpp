#include "ReplayCheck.h"

#include <chrono>
#include <iomanip>
#include <iostream>
#include <memory>

#include "GeneratedMedia.h"
#include "app/MediaDirectory.h"
#include "app/ProcessLibraries.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "game/RaceTimeText.h"
#include "items/ShellClasses.h"
#include "replay/BuildIdentity.h"
#include "replay/Replay.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplayRun.h"

int ReplayCheck::run() const {
    std::string error;
    const std::optional<Replay> replay = ReplayArchive::load(path, error);
    if (!replay) {
        std::cerr << path << ": cannot be checked: " << error << std::endl;
        return 1;
    }
    std::unique_ptr<GeneratedMedia> generated;
    std::string prefix = mediaPrefix;
    if (prefix.empty()) {
        generated.reset(new GeneratedMedia(replay->circuit));
        if (!generated->isReady()) return 1;
        prefix = generated->prefix();
    }
    const MediaMarker media = MediaMarker::read(prefix);
    if (media.circuit != replay->circuit) {
        std::cerr << path << ": a race on circuit " << replay->circuit << ", but the media under " << prefix
                  << " are not that circuit's: cannot be checked there" << std::endl;
        return 1;
    }
    // Another build of the game or of the generator may run the race otherwise: no claim either way.
    const std::string foreign = replay->foreignTo(gameBuildIdentity(), media.generator);
    if (!foreign.empty()) {
        std::cerr << path << ": cannot be checked here: " << foreign << std::endl;
        return 1;
    }

    GameClock::useSimulatedTime(0);
    startProcessLibraries(prefix);
    prepareShellClasses();
    const auto start = std::chrono::steady_clock::now();
    int status = 1;
    {
        Game game;
        ReplayRun rerun(game, *replay);
        rerun.run();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << "circuit " << replay->circuit << ", " << replay->settings.laps
                  << (replay->settings.laps == 1 ? " lap, " : " laps, ")
                  << replay->settings.computerDrivers << " computer drivers, seed " << replay->settings.seed << "\n";
        std::cout << std::left << std::setw(14) << "kart" << std::right << std::setw(6) << "laps" << std::setw(6)
                  << "rank" << std::setw(12) << "time" << std::setw(12) << "best lap" << "\n";
        for (int i = 0; i < game.vehicles.size(); ++i) {
            const RaceRecord& record = game.raceRecords[i];
            std::cout << std::left << std::setw(14) << game.vehicles[i]->getName() << std::right << std::setw(6)
                      << record.lap << std::setw(6) << record.rank << std::setw(12) << raceTimeText(record.finishSteps)
                      << std::setw(12) << raceTimeText(record.bestLapSteps) << "\n";
        }
        std::cout << "re-ran " << game.raceSteps << " sub-steps in " << std::fixed << std::setprecision(2) << seconds
                  << " s\n";
        std::cout << path << ": " << rerun.verdict() << std::endl;
        status = rerun.checks() ? 0 : 1;
    }
    releaseShellClasses();
    stopProcessLibraries();
    return status;
}
