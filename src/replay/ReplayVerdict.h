#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct Replay;

// How a replay's race came out when it was run again, against what the replay recorded.
struct ReplayVerdict {
    size_t checksCompared = 0;
    size_t firstMismatchSecond = 0;  // 0: none differed
    int64_t finishSteps = -1;        // the player's race time, as run again
    int64_t bestLapSteps = -1;

    // Every recorded check value was reached and matched, and the player's race time and best lap are
    // those the replay claims.
    bool checks(const Replay& replay) const;
    // One line: the times, and whether every check value matched or from which second on they differ.
    std::string text(const Replay& replay) const;
};
