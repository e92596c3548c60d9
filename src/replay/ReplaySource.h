#pragma once

#include <cstddef>

#include "game/PlayerControls.h"
#include "replay/ReplayVerdict.h"

class Game;
struct Replay;

// Feeds a replay's controls to the race in place of the player's device, sub-step by sub-step from
// the race's start, and compares the race's check value with the recorded one at each whole second.
// A restart plays it again from the start.
class ReplaySource {
public:
    explicit ReplaySource(const Replay& replay) : replay(replay) {}

    // The recorded controls for the coming sub-step; none after the race or past the recording's end.
    PlayerControls next(const Game& game);

    // Whether the race has used every recorded sub-step.
    bool exhausted(const Game& game) const;
    // How the race has come out so far against the recording.
    ReplayVerdict verdict(const Game& game) const;

private:
    const Replay& replay;
    size_t compared = 0;
    size_t mismatch = 0;  // the first second whose check value differed; 0 while none did
};
