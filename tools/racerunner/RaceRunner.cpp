#include "RaceRunner.h"

#include "SoundRecorder.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iomanip>
#include <sstream>

#include <unistd.h>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

#include "app/ProcessLibraries.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "input/CourseDriver.h"
#include "items/ParticleEmitter.h"
#include "items/Projectile.h"
#include "items/ShellClasses.h"
#include "level/Course.h"
#include "level/SceneLoader.h"
#include "replay/ReplayRecorder.h"

namespace {

const float subStep = Game::subStep;
const float extraRowSpacing = 9.0f;   // extra karts line up in rows behind the grid
const float extraColumnOffset = 7.0f;
const float fanfareSeconds = 3.0f;  // recorded after the race, for the finish fanfare to ring out

// Resident set of this process, from the kernel's account of it.
long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

RaceRunner::RaceRunner(const Options& options)
    : options(options),
      game(nullptr),
      firedShells(0),
      goneShells(0),
      raceTime(0),
      steps(0),
      elapsedWall(0),
      loadWall(0),
      races(0) {
    GameClock::useSimulatedTime(0);
    const auto loadStart = std::chrono::steady_clock::now();
    startProcessLibraries(options.mediaPrefix);
    prepareShellClasses();
    game = new Game();
    // The player's controls come from the built-in driver when it drives; the runner restarts races itself.
    if (options.recordCircuit >= 0) replayRecorder.reset(new ReplayRecorder(options.recordCircuit, options.recordMedia));
    game->readControls = [this] { return replayRecorder ? replayRecorder->record(*game, drivenControls()) : drivenControls(); };
    game->settings.seed = options.seed;
    if (options.karts > 0) game->settings.computerDrivers = std::min(options.karts - 1, RaceSettings::maxComputerDrivers);
    game->settings.pace = options.pace;
    game->restart();
    if (!options.soundOut.empty()) {
        recorder.reset(new SoundRecorder(*game, options.mediaPrefix + "media/sounds/", options.soundOut));
    }
    loadWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - loadStart).count();
    startRace();
}

PlayerControls RaceRunner::drivenControls() const {
    return options.player == PlayerMode::driven ? courseDriverControls(*game) : PlayerControls();
}

bool RaceRunner::isSound(const std::vector<Result>& results, PlayerMode player) {
    for (const Result& result : results) {
        const bool stuck = result.longestStall > stallLimit || result.offCourseTime > 0;
        if (result.name != "Player") {
            if (result.finishTime < 0 || stuck) return false;
        } else if (player == PlayerMode::driven && (result.laps < 2 || stuck)) {
            // Driven by the built-in driver, the player's kart must go round too, on the road all the way.
            return false;
        }
    }
    return true;
}

RaceRunner::~RaceRunner() {
    recorder.reset();
    delete game;
    releaseShellClasses();
    stopProcessLibraries();
    GameClock::useWindowTimer();
}

void RaceRunner::adjustKartCount() {
    // Fewer karts are the race's own setting; more line up behind the grid, which no replay can hold.
    if (game->vehicles.size() >= options.karts) return;
    if (game->vehicles.size() == 0) {
        std::cerr << "WARNING: the level has no karts to line more up behind" << std::endl;
        return;
    }
    // More karts: extra rows behind the last one on the grid, facing the same way.
    btTransform last;
    game->vehicles[game->vehicles.size() - 1]->getWorldTransform(last);
    for (int added = 0; game->vehicles.size() < options.karts; ++added) {
        const float row = static_cast<float>(added / 2 + 1) * extraRowSpacing;
        const float column = (added % 2 == 0) ? extraColumnOffset : -extraColumnOffset;
        const btVector3 position(game->course->points.front().x() + column, last.getOrigin().y(),
                                 last.getOrigin().z() - row);
        createVehicle(game, position, btQuaternion::getIdentity(), 100 + added);
    }
}

void RaceRunner::startRace() {
    adjustKartCount();
    trackers.assign(game->vehicles.size(), Tracker());
    for (int i = 0; i < game->vehicles.size(); ++i) trackers[i].result.name = game->vehicles[i]->getName();
    raceTime = 0;
    ++races;
}

bool RaceRunner::raceFinished() const {
    if (game->raceOver) return true;
    if (options.player == PlayerMode::parked) {
        for (int i = 0; i < game->vehicles.size(); ++i) {
            const bool player = !game->players.empty() && game->vehicles[i] == game->players.front();
            if (!player && !game->raceRecords[i].finished) return false;
        }
        return true;
    }
    return false;
}

void RaceRunner::track() {
    for (int i = 0; i < game->vehicles.size(); ++i) {
        const RaceRecord& record = game->raceRecords[i];
        Tracker& tracker = trackers[i];
        Result& result = tracker.result;
        result.laps = record.lap;
        result.rank = record.rank;
        if (record.finished) {
            if (result.finishTime < 0) result.finishTime = raceTime;
            continue;
        }
        if (record.segment < 0) result.offCourseTime += subStep;
        // Back over the start line a kart is a lap less far than its counter says.
        const double progress = record.lap - (record.crossedBackwards ? 1 : 0) + record.progress;
        if (progress > tracker.best + 1e-4) {
            tracker.best = progress;
            tracker.sinceProgress = 0;
        } else {
            tracker.sinceProgress += subStep;
            result.longestStall = std::max(result.longestStall, tracker.sinceProgress);
        }
    }
}

void RaceRunner::countShells() {
    // Shells come and go inside the physics step; compare who is in play before and after it.
    std::vector<const void*> now(Projectile::allProjectiles.begin(), Projectile::allProjectiles.end());
    for (const void* shell : now) {
        if (std::find(shellsInPlay.begin(), shellsInPlay.end(), shell) == shellsInPlay.end()) ++firedShells;
    }
    for (const void* shell : shellsInPlay) {
        if (std::find(now.begin(), now.end(), shell) == now.end()) ++goneShells;
    }
    shellsInPlay.swap(now);
}

std::vector<RaceRunner::Result> RaceRunner::run() {
    const auto start = std::chrono::steady_clock::now();
    std::vector<Result> results;
    double soaked = 0;
    for (;;) {
        game->dynamicsWorld->stepSimulation(subStep, 1, subStep);
        if (recorder) recorder->step(subStep);
        // The frame would move the dust on; without one the runner does, or it would pile up.
        for (ParticleEmitter* emitter : ParticleEmitter::allEmitters) emitter->update(subStep);
        ++steps;
        raceTime += subStep;
        soaked += subStep;
        track();
        countShells();
        const bool finished = raceFinished() || raceTime >= options.timeLimit;
        if (!finished) continue;
        results.clear();
        for (const Tracker& tracker : trackers) results.push_back(tracker.result);
        if (options.soakTime > 0) {
            std::cout << "race " << races << " over after " << std::fixed << std::setprecision(1) << raceTime
                      << " s, " << soaked << " s in all, resident memory " << residentKilobytes() << " kB"
                      << std::endl;
        }
        if (soaked >= options.soakTime) break;
        // Soak: race again from the grid, with other draws.
        game->settings.seed = options.seed + static_cast<unsigned int>(races);
        game->restart();
        countShells();
        startRace();
    }
    if (recorder) recorder->ringOut(fanfareSeconds);
    elapsedWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return results;
}

Replay RaceRunner::recordedReplay() const { return replayRecorder ? replayRecorder->replay(*game) : Replay(); }
bool RaceRunner::recorded() { return !recorder || (recorder->isReady() && recorder->finish()); }

std::string RaceRunner::fingerprint() const {
    std::ostringstream text;
    text << std::fixed << std::setprecision(4);
    for (int i = 0; i < game->vehicles.size(); ++i) {
        btTransform transform;
        game->vehicles[i]->getWorldTransform(transform);
        const btVector3& o = transform.getOrigin();
        text << game->raceRecords[i].lap << ":" << game->raceRecords[i].rank << ":" << o.x() << "," << o.y() << ","
             << o.z() << ";";
    }
    // FNV-1a keeps the printed digest short.
    uint64_t hash = 1469598103934665603ull;
    for (char c : text.str()) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    std::ostringstream digest;
    digest << std::hex << hash;
    return digest.str();
}
