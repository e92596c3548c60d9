#pragma once

#include <cstdint>
#include <optional>
#include <string>

// How fast the computer drivers go: normal is the game's own driving.
enum class Pace : int32_t { relaxed = 0, normal = 1, fast = 2 };

// The pace's name, as the menu shows it, the settings file keeps it and the race runner takes it.
inline const char* paceName(Pace pace) {
    switch (pace) {
        case Pace::relaxed: return "relaxed";
        case Pace::fast: return "fast";
        case Pace::normal: break;
    }
    return "normal";
}

// The pace of that name; empty for any other text.
inline std::optional<Pace> paceNamed(const std::string& name) {
    for (Pace pace : {Pace::relaxed, Pace::normal, Pace::fast}) {
        if (name == paceName(pace)) return pace;
    }
    return std::nullopt;
}

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
