#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/RaceSettings.h"

// One race as the player drove it: how it was set up, the player's controls for every sub-step, and
// a check value of the race state after every whole second, so that running it again shows whether
// it still comes out the same. A file holds a short text header (readable with `head`, and by the
// launcher, which needs the circuit) and then the controls, run-length coded, and the check values.
struct Replay {
    static constexpr int formatVersion = 1;
    static constexpr int stepsPerCheck = 60;       // one check value a second
    static constexpr size_t maxFileBytes = 4 << 20;

    std::string build;             // identity of the game build that recorded it
    int circuit = 0;
    std::string media;             // identity of the generator build that made the circuit's media
    RaceSettings settings;
    std::vector<uint16_t> controls;  // PlayerControls flags, one per sub-step from the start
    std::vector<uint32_t> checks;    // after sub-steps 60, 120, ... (see checkCount)
    int64_t finishSteps = -1;        // the player's race time it claims; -1 = not finished
    int64_t bestLapSteps = -1;       // the player's best lap it claims; -1 = none

    // Check values a race of `steps` sub-steps has: one at each whole second before its last sub-step.
    static size_t checkCount(size_t steps) { return steps == 0 ? 0 : (steps - 1) / stepsPerCheck; }

    // Why the race cannot be run again as recorded here, by game build `build` on media that generator
    // build `media` made: "" when it can.
    std::string foreignTo(const std::string& build, const std::string& media) const;

    std::string toBytes() const;
    // The replay in `bytes`, or nothing with `error` saying what is wrong with them, in a few words.
    static std::optional<Replay> fromBytes(const std::string& bytes, std::string& error);
};
