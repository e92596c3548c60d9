#pragma once

#include <string>
#include <vector>

#include "RaceRunner.h"

// Races circuit after circuit, each generated into a temporary folder, twice: with the player's
// kart parked and with the runner's driver at its wheel. Each circuit races in a process of its
// own, up to `jobs` at once. Prints a row per race, a last row with the worst of each column, and
// how widely the circuits other than 0 spread in lap length, curves, turning and height.
class CircuitSweep {
public:
    CircuitSweep(std::vector<int> circuits, const RaceRunner::Options& options, int jobs);

    // False when a circuit could not be generated or a race was not sound (RaceRunner::isSound).
    bool run();

    // Circuits as "0-50", "3,17,42" or a mix of both; empty when the text is not such a list.
    static std::vector<int> parseList(const std::string& text);

private:
    // What one race on a circuit gave, in the table's columns.
    struct Race {
        std::vector<double> finishTimes;  // of the computer karts, -1 when one did not finish
        double longestStall = 0;
        double offCourse = 0;
        long shells = 0;
        double loadMilliseconds = 0;
        double mediaMegabytes = 0;
        bool sound = false;
    };
    struct Outcome {
        bool generated = false;
        double length = 0;
        double smallestRadius = 0;
        double heightRange = 0;
        double curves = 0;
        double turnDegrees = 0;
        Race races[2];  // parked, driven
    };

    Outcome raceCircuit(int number) const;
    static void print(const std::string& lead, const Race& race);
    static std::string encode(const Outcome& outcome);
    static Outcome decode(const std::string& text);

    std::vector<int> circuits;
    RaceRunner::Options options;
    int jobs;
};
