#include "app/GameArguments.h"

#include <iostream>

GameArguments GameArguments::parse(int argc, const char* const* argv) {
    GameArguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--front-end") {
            arguments.frontEnd = true;
        } else if (argument == "--laps" && hasValue) {
            const std::string value = argv[++i];
            if (value.size() == 1 && value[0] >= '1' && value[0] <= '0' + RaceSettings::maxLaps) {
                arguments.settings.laps = value[0] - '0';
            } else {
                std::cerr << "WARNING: --laps takes 1 to " << RaceSettings::maxLaps << ", not \"" << value
                          << "\"; racing " << arguments.settings.laps << std::endl;
            }
        } else if (argument == "--time-trial") {
            arguments.timeTrial = true;
            arguments.settings.computerDrivers = 0;
        } else if (argument == "--replay" && hasValue) {
            arguments.replayFile = argv[++i];
        } else if (argument == "--autopilot") {
            arguments.autopilot = true;
        } else {
            std::cerr << "WARNING: unknown argument \"" << argument << "\" passed over (the game takes --front-end, "
                      << "--laps N, --time-trial, --replay FILE, --autopilot)" << std::endl;
        }
    }
    return arguments;
}
