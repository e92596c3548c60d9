#pragma once

#include <functional>

#include "replay/ReplayVerdict.h"

class Game;
struct Replay;

// Runs a replay's race again without a window: on a game whose libraries hold the replay's circuit,
// from the start on the replay's settings, at fixed sub-steps, with the recorded controls, until the
// race is over or the recording ends.
class ReplayRun {
public:
    ReplayRun(Game& game, const Replay& replay) : game(game), replay(replay) {}

    // `afterSubStep`, if given, sees the game after every sub-step (the ghost's path is taken there).
    void run(const std::function<void(const Game&)>& afterSubStep = nullptr);

    bool checks() const { return result.checks(replay); }
    std::string verdict() const { return result.text(replay); }
    const ReplayVerdict& outcome() const { return result; }

private:
    Game& game;
    const Replay& replay;
    ReplayVerdict result;
};
