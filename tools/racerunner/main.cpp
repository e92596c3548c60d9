// Headless race runner: loads a level without a window, races at fixed 1/60 s sub-steps and prints
// what every kart did. Doubles as the simulation benchmark. With --circuits it sweeps over
// generated circuits, racing each with the player's kart parked and driven.
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "Circuit.h"
#include "CircuitSweep.h"
#include "GeneratedMedia.h"
#include "RaceRunner.h"
#include "ReplayCheck.h"
#include "app/MediaDirectory.h"
#include "game/RaceSettings.h"
#include "replay/Replay.h"
#include "storage/PlayerFile.h"

namespace {

void usage() {
    std::cerr << "usage: vorbel-race-runner [--media PREFIX | --circuit N | --circuits LIST] [--player parked|driven]\n"
                 "                          [--karts N] [--pace relaxed|normal|fast] [--time-limit S] [--soak S]\n"
                 "                          [--seed N] [--jobs N] [--check] [--quiet] [--record FILE] [--sound-out FILE.wav]\n"
                 "       vorbel-race-runner --replay FILE [--media PREFIX]\n"
                 "  --media PREFIX   folder holding media/ (default: the current folder)\n"
                 "  --circuit N      generate circuit N into a temporary folder and race there\n"
                 "  --circuits LIST  race each circuit of LIST (\"0-50\", \"3,17,42\") parked and driven, one row each\n"
                 "  --jobs N         race up to N circuits of the list at once, each in a process of its own\n"
                 "  --karts N        race N karts: fewer removes computer karts, more adds rows behind the grid\n"
                 "  --pace P         the computer drivers' pace: relaxed, normal (the default) or fast\n"
                 "  --soak S         race again and again, restarting at each end, for S simulated seconds\n"
                 "  --sound-out FILE record what the player's camera hears, as a 44.1 kHz stereo WAV file\n"
                 "  --check          exit 1 unless every computer kart finished, none stalled over 10 s or left\n"
                 "                   the course slabs, and a driven player's kart went round a lap on the road\n"
                 "  --record FILE    save the replay of the (last) race: the player's controls, a check each second\n"
                 "  --replay FILE    run a replay's race again (on its circuit, generated unless --media is given),\n"
                 "                   print the times, exit 1 unless every check value matched\n";
}

}  // namespace

int main(int argc, char** argv) {
    RaceRunner::Options options;
    options.mediaPrefix = "./";
    bool check = false;
    std::optional<int> circuit;
    std::vector<int> sweep;
    int jobs = 1;
    std::string recordFile, replayFile;
    bool mediaGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--media" && hasValue) {
            options.mediaPrefix = std::string(argv[++i]) + "/";
            mediaGiven = true;
        } else if (arg == "--circuit" && hasValue && Circuit::parseNumber(argv[i + 1])) {
            circuit = Circuit::parseNumber(argv[++i]);
        } else if (arg == "--circuits" && hasValue && !CircuitSweep::parseList(argv[i + 1]).empty()) {
            sweep = CircuitSweep::parseList(argv[++i]);
        } else if (arg == "--jobs" && hasValue && std::atoi(argv[i + 1]) > 0) {
            jobs = std::atoi(argv[++i]);
        } else if (arg == "--player" && hasValue && (argv[i + 1] == std::string("parked") ||
                                                        argv[i + 1] == std::string("driven"))) {
            const std::string mode = argv[++i];
            options.player = mode == "parked" ? RaceRunner::PlayerMode::parked : RaceRunner::PlayerMode::driven;
        } else if (arg == "--karts" && hasValue && std::atoi(argv[i + 1]) > 0) {
            options.karts = std::atoi(argv[++i]);
        } else if (arg == "--pace" && hasValue && paceNamed(argv[i + 1])) {
            options.pace = *paceNamed(argv[++i]);
        } else if (arg == "--time-limit" && hasValue) {
            options.timeLimit = std::atof(argv[++i]);
        } else if (arg == "--soak" && hasValue) {
            options.soakTime = std::atof(argv[++i]);
        } else if (arg == "--seed" && hasValue) {
            options.seed = static_cast<unsigned int>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--record" && hasValue) {
            recordFile = argv[++i];
        } else if (arg == "--replay" && hasValue) {
            replayFile = argv[++i];
        } else if (arg == "--sound-out" && hasValue) {
            options.soundOut = argv[++i];
        } else if (arg == "--check") {
            check = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else {
            usage();
            return 2;
        }
    }

    if (!replayFile.empty()) return ReplayCheck(replayFile, mediaGiven ? options.mediaPrefix : "").run();
    if (!sweep.empty() && !options.soundOut.empty()) {
        usage();  // each race of a sweep runs in a process of its own: there is no one race to hear
        return 2;
    }
    if (!sweep.empty()) {
        const bool sound = CircuitSweep(sweep, options, jobs).run();
        if (check && !sound) {
            std::cerr << "FAILED: a circuit could not be generated, or a race on it was not sound" << std::endl;
            return 1;
        }
        return 0;
    }
    std::unique_ptr<GeneratedMedia> generated;
    if (circuit) {
        generated.reset(new GeneratedMedia(*circuit));
        if (!generated->isReady()) return 1;
        options.mediaPrefix = generated->prefix();
    }
    if (!recordFile.empty()) {
        if (options.karts > RaceSettings::maxComputerDrivers + 1) {
            std::cerr << "karts beyond the grid are no part of a race a replay can hold: --record races at most "
                      << RaceSettings::maxComputerDrivers + 1 << std::endl;
            return 2;
        }
        const MediaMarker marker = MediaMarker::read(options.mediaPrefix);
        options.recordCircuit = marker.circuit;
        options.recordMedia = marker.generator;
        if (options.recordCircuit < 0) {
            std::cerr << "the media under " << options.mediaPrefix << " name no circuit: no replay can be recorded"
                      << std::endl;
            return 1;
        }
    }

    RaceRunner runner(options);
    const std::vector<RaceRunner::Result> results = runner.run();

    std::cout << std::fixed << std::setprecision(2);
    if (!options.quiet) {
        std::cout << std::left << std::setw(14) << "kart" << std::right << std::setw(6) << "laps" << std::setw(6)
                  << "rank" << std::setw(10) << "finish s" << std::setw(12) << "off-slab s" << std::setw(12)
                  << "max stall s" << "\n";
        for (const RaceRunner::Result& result : results) {
            std::cout << std::left << std::setw(14) << result.name << std::right << std::setw(6) << result.laps
                      << std::setw(6) << result.rank << std::setw(10) << result.finishTime << std::setw(12)
                      << result.offCourseTime << std::setw(12) << result.longestStall << "\n";
        }
    }
    const double rate = runner.wallSeconds() > 0 ? runner.subSteps() / runner.wallSeconds() : 0;
    std::cout << "races " << runner.racesRun() << ", sub-steps " << runner.subSteps() << " (" << runner.subSteps() / 60.0
              << " simulated s) in " << runner.wallSeconds() << " s: " << std::setprecision(0) << rate
              << " sub-steps per second; level loaded in " << runner.loadSeconds() * 1000 << " ms\n";
    std::cout << "shells fired " << runner.shellsFired() << ", gone " << runner.shellsGone() << "\n";
    std::cout << "fingerprint " << runner.fingerprint() << std::endl;
    if (!recordFile.empty()) {
        std::string error;
        const std::string bytes = runner.recordedReplay().toBytes();
        if (!PlayerFile(recordFile).write(bytes, error)) {
            std::cerr << "replay not saved: " << error << std::endl;
            return 1;
        }
        std::cout << "replay " << recordFile << ": " << bytes.size() << " bytes" << std::endl;
    }
    if (!runner.recorded()) return 1;
    if (check && !RaceRunner::isSound(results, options.player)) {
        std::cerr << "FAILED: a kart did not go round, left the course or stalled for more than "
                  << RaceRunner::stallLimit << " s" << std::endl;
        return 1;
    }
    return 0;
}
