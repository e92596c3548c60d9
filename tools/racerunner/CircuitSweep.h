#pragma once

#include <string>
#include <vector>

#include "RaceRunner.h"

// Races circuit after circuit, each generated into a temporary folder, twice: with the player's
// kart parked and with the runner's driver at its wheel. Prints a row per race, a last row with
// the worst of each column, and how widely the circuits other than 0 spread in lap length,
// curves, turning and height.
class CircuitSweep {
public:
    CircuitSweep(std::vector<int> circuits, const RaceRunner::Options& options);

    // False when a circuit could not be generated or a race was not sound (RaceRunner::isSound).
    bool run();

    // Circuits as "0-50", "3,17,42" or a mix of both; empty when the text is not such a list.
    static std::vector<int> parseList(const std::string& text);

private:
    std::vector<int> circuits;
    RaceRunner::Options options;
};
