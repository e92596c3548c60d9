#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class Game;
struct Replay;

// Runs a replay's race again without a window: on a game whose libraries hold the replay's circuit,
// from the start on the replay's settings, at fixed sub-steps, with the recorded controls, until the
// race is over or the recording ends. Says whether it came out as recorded.
class ReplayRun {
public:
    ReplayRun(Game& game, const Replay& replay) : game(game), replay(replay) {}

    // `afterSubStep`, if given, sees the game after every sub-step (the ghost's path is taken there).
    void run(const std::function<void(const Game&)>& afterSubStep = nullptr);

    // Every recorded check value was reached and matched, and the player's race time and best lap are
    // those the replay claims.
    bool checks() const;
    // One line: the times, and whether every check value matched or from which second on they differ.
    std::string verdict() const;

    size_t checksCompared = 0;
    size_t firstMismatchSecond = 0;  // 0: none differed
    int64_t finishSteps = -1;        // the player's, as run again
    int64_t bestLapSteps = -1;

private:
    Game& game;
    const Replay& replay;
};
