#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class btTransform;
class Game;
class ReplayArchive;
struct Replay;

// The poses of the player's kart through a race, one for each sub-step: the way a ghost drives it.
class GhostPath {
public:
    // Notes the player's pose after a sub-step.
    void add(const Game& game);
    // The pose after `step` sub-steps of the race: the first for the start, the last after the end.
    btTransform poseAt(int64_t step) const;
    bool empty() const { return poses.empty(); }
    size_t size() const { return poses.size(); }

    // Runs `replay` again on a game of its own (so no other game may be running), on media generator
    // build `media` made, and keeps the player's path; empty, with `error` saying why, when the race
    // cannot run or does not come out as recorded. `progress`, if given, hears the share of the race
    // run so far, from 0 to 1.
    static GhostPath fromReplay(const Replay& replay, const std::string& media, std::string& error,
                                const std::function<void(double)>& progress = nullptr);

    // A time trial's ghost: the best race kept in `archive` for this circuit and lap count, run again.
    // Empty, after one line on the console when there is a best race that cannot be used, without one.
    static GhostPath ofBestRace(const ReplayArchive& archive, int circuit, const std::string& media, int laps,
                                const std::function<void(double)>& progress = nullptr);

private:
    std::vector<std::array<float, 7>> poses;  // origin x, y, z and rotation x, y, z, w
};
