#include "replay/GhostPath.h"

#include <algorithm>
#include <iostream>

#include <LinearMath/btTransform.h>

#include "entities/Vehicle.h"
#include "game/Game.h"
#include "items/ShellClasses.h"
#include "replay/BuildIdentity.h"
#include "replay/Replay.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplayRun.h"

void GhostPath::add(const Game& game) {
    if (game.players.empty()) return;
    btTransform transform;
    game.players.front()->getWorldTransform(transform);
    const btVector3& o = transform.getOrigin();
    const btQuaternion q = transform.getRotation();
    poses.push_back({o.x(), o.y(), o.z(), q.x(), q.y(), q.z(), q.w()});
}

btTransform GhostPath::poseAt(int64_t step) const {
    if (poses.empty()) return btTransform::getIdentity();
    // The first pose is the one after the first sub-step; the start shows it too.
    const size_t index = static_cast<size_t>(std::clamp<int64_t>(step - 1, 0, static_cast<int64_t>(poses.size()) - 1));
    const std::array<float, 7>& p = poses[index];
    return btTransform(btQuaternion(p[3], p[4], p[5], p[6]), btVector3(p[0], p[1], p[2]));
}

GhostPath GhostPath::fromReplay(const Replay& replay, const std::string& media, std::string& error,
                                const std::function<void(double)>& progress) {
    GhostPath path;
    error = replay.foreignTo(gameBuildIdentity(), media);
    if (!error.empty()) return path;
    // The shells fire only once their classes have their shapes, as in the race recorded.
    prepareShellClasses();
    Game game;
    ReplayRun run(game, replay);
    const double steps = static_cast<double>(replay.controls.size());
    run.run([&](const Game& after) {
        path.add(after);
        if (progress && after.raceSteps % Replay::stepsPerCheck == 0) progress(after.raceSteps / steps);
    });
    if (!run.checks()) {
        error = "it does not run as recorded: " + run.verdict();
        path.poses.clear();
    }
    return path;
}

GhostPath GhostPath::ofBestRace(const ReplayArchive& archive, int circuit, const std::string& media, int laps,
                                const std::function<void(double)>& progress) {
    std::string error;
    const std::optional<Replay> best = archive.best(circuit, laps, error);
    if (!best) {
        if (!error.empty()) std::cerr << "WARNING: no ghost: the best race cannot be read (" << error << ")" << std::endl;
        return GhostPath();
    }
    GhostPath path = fromReplay(*best, media, error, progress);
    if (path.empty()) std::cerr << "WARNING: no ghost: the best race cannot be run again (" << error << ")" << std::endl;
    return path;
}
