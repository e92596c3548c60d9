// Headless race runner: loads the default level without a window, races at fixed 1/60 s sub-steps
// and prints what every kart did. Doubles as the simulation benchmark.
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <string>

#include "RaceRunner.h"

namespace {

void usage() {
    std::cerr << "usage: vorbel-race-runner [--media PREFIX] [--player parked|driven] [--karts N] [--time-limit S]\n"
                 "                          [--soak S] [--seed N] [--check] [--quiet]\n"
                 "  --media PREFIX  folder holding media/ (default: the current folder)\n"
                 "  --karts N       race N karts: fewer removes computer karts, more adds rows behind the grid\n"
                 "  --soak S        race again and again, restarting at each end, for S simulated seconds\n"
                 "  --check         exit 1 unless every computer kart finished and none stalled over 10 s,\n"
                 "                  and a driven player's kart completed a lap on the road without stalling\n";
}

const double stallLimit = 10.0;  // seconds without progress that count as stuck

}  // namespace

int main(int argc, char** argv) {
    RaceRunner::Options options;
    options.mediaPrefix = "./";
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--media" && hasValue) {
            options.mediaPrefix = std::string(argv[++i]) + "/";
        } else if (arg == "--player" && hasValue && (argv[i + 1] == std::string("parked") ||
                                                        argv[i + 1] == std::string("driven"))) {
            const std::string mode = argv[++i];
            options.player = mode == "parked" ? RaceRunner::PlayerMode::parked : RaceRunner::PlayerMode::driven;
        } else if (arg == "--karts" && hasValue && std::atoi(argv[i + 1]) > 0) {
            options.karts = std::atoi(argv[++i]);
        } else if (arg == "--time-limit" && hasValue) {
            options.timeLimit = std::atof(argv[++i]);
        } else if (arg == "--soak" && hasValue) {
            options.soakTime = std::atof(argv[++i]);
        } else if (arg == "--seed" && hasValue) {
            options.seed = static_cast<unsigned int>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--check") {
            check = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else {
            usage();
            return 2;
        }
    }

    RaceRunner runner(options);
    const std::vector<RaceRunner::Result> results = runner.run();

    bool ok = true;
    std::cout << std::fixed << std::setprecision(2);
    if (!options.quiet) {
        std::cout << std::left << std::setw(14) << "kart" << std::right << std::setw(6) << "laps" << std::setw(6)
                  << "rank" << std::setw(10) << "finish s" << std::setw(12) << "off-slab s" << std::setw(12)
                  << "max stall s" << "\n";
    }
    for (const RaceRunner::Result& result : results) {
        if (!options.quiet) {
            std::cout << std::left << std::setw(14) << result.name << std::right << std::setw(6) << result.laps
                      << std::setw(6) << result.rank << std::setw(10) << result.finishTime << std::setw(12)
                      << result.offCourseTime << std::setw(12) << result.longestStall << "\n";
        }
        const bool player = result.name == "Player";
        if (!player && (result.finishTime < 0 || result.longestStall > stallLimit)) ok = false;
        // Driven by the built-in driver, the player's kart must go round too, on the road all the way.
        const bool driven = options.player == RaceRunner::PlayerMode::driven;
        if (player && driven && (result.laps < 2 || result.offCourseTime > 0 || result.longestStall > stallLimit)) {
            ok = false;
        }
    }
    const double rate = runner.wallSeconds() > 0 ? runner.subSteps() / runner.wallSeconds() : 0;
    std::cout << "races " << runner.racesRun() << ", sub-steps " << runner.subSteps() << " (" << runner.subSteps() / 60.0
              << " simulated s) in " << runner.wallSeconds() << " s: " << std::setprecision(0) << rate
              << " sub-steps per second\n";
    std::cout << "shells fired " << runner.shellsFired() << ", gone " << runner.shellsGone() << "\n";
    std::cout << "fingerprint " << runner.fingerprint() << std::endl;
    if (check && !ok) {
        std::cerr << "FAILED: a kart did not go round, left the course or stalled for more than " << stallLimit
                  << " s" << std::endl;
        return 1;
    }
    return 0;
}
