#pragma once

#include <string>

#include "game/RaceSettings.h"

// What the game's command line asks for. Without arguments: the race as it always was.
struct GameArguments {
    RaceSettings settings;
    bool timeTrial = false;   // the player alone, beside the ghost of the circuit's best race
    std::string replayFile;   // play this replay in place of the player
    bool autopilot = false;   // the course driver holds the wheel; the keys add to what it does
    bool frontEnd = false;    // the front end opens first, and the race's choices are made there

    // Reads --front-end, --laps N, --time-trial, --replay FILE and --autopilot; anything else gets one
    // line on the console and is passed over.
    static GameArguments parse(int argc, const char* const* argv);
};
