#pragma once

#include <memory>
#include <optional>
#include <string>

#include "game/PlayerControls.h"
#include "replay/Replay.h"

class Game;
class ReplayRecorder;
class ReplaySource;

// The replays of one run of the game: between the game and the player's device it records every race
// the player drives and keeps each finished one, with the records, in the player's data folder; or it
// plays a replay in place of the player and says at its end whether it ran as recorded.
class ReplaySession {
public:
    // Records the races on `circuit`, whose media generator build `media` made; a circuit of -1 (media
    // that name none) keeps nothing.
    ReplaySession(int circuit, const std::string& media, std::string dataFolder);
    // Plays `replay`; Enter after it plays it again.
    explicit ReplaySession(Replay replay);
    ~ReplaySession();
    ReplaySession(const ReplaySession&) = delete;
    ReplaySession& operator=(const ReplaySession&) = delete;

    // The controls for the coming sub-step, from the device or the replay.
    PlayerControls controls(const Game& game, PlayerControls device);
    // After the sub-steps of a frame: keeps a race the player has just finished, or tells how the
    // replay came out once it has run.
    void afterPhysics(const Game& game);

private:
    std::optional<Replay> playing;
    std::unique_ptr<ReplaySource> source;
    std::unique_ptr<ReplayRecorder> recorder;
    int circuit;
    std::string dataFolder;
    bool raceHandled = false;  // the race that ended has been kept or told
};
