#pragma once

#include <cstdint>

// How fast the computer drivers go: normal is the game's own driving.
enum class Pace : int32_t { relaxed = 0, normal = 1, fast = 2 };

// How one race is set up. The defaults are the race the game starts without being asked for another;
// the front end changes them, and a replay stores them so that the race can be run again.
struct RaceSettings {
    static constexpr int defaultLaps = 5;
    static constexpr int maxLaps = 9;
    static constexpr int maxComputerDrivers = 7;
    // The longest race, in sub-steps, that the files keeping races (replays, records) hold: two hours.
    static constexpr int64_t maxRaceSteps = 2 * 60 * 60 * 60;

    int laps = defaultLaps;                      // a kart finishes when its lap counter passes this
    int computerDrivers = maxComputerDrivers;    // computer karts beyond this stay off the grid
    Pace pace = Pace::normal;
    uint32_t seed = 1;                           // of the race's random draws: items, dust, item timing
};
