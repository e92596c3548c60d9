// Start-up benchmark: wall time from starting the game to its first drawn frame, per circuit.
// Generates each circuit's media into a temporary folder, starts the game binary there and watches
// the top row of the screen until the sky shows. Figures only, no verdict; the machines are
// shared, so each circuit starts several times and the median and the best count, and each game
// start follows a start of the bare window (vorbel-bench-sky-window) as a yardstick of what the
// machine gives at that moment. Needs an X display of its own:
//   tests/with-xvfb.sh <build>/tools/vorbel-bench-startup [rounds] [circuit...]
#include <algorithm>
#include <chrono>
#include <iomanip>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "GeneratedMedia.h"
#include "StartWatch.h"
#include "Timing.h"

namespace {

const int defaultRounds = 5;
const double timeoutSeconds = 20;
const auto pollInterval = std::chrono::milliseconds(2);
struct Start {
    double seconds = -1;    // wall clock, from starting the program to its first frame on screen
    double cpuSeconds = 0;  // the program's own processor time (user and system) until it is stopped
};

Start startOnce(Display* display, const char* program, const std::string& folder) {
    const Clock::time_point start = Clock::now();
    const pid_t game = fork();
    if (game == 0) {
        if (chdir(folder.c_str()) != 0) _exit(127);
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(127);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    Start result;
    bool running = game > 0;
    while (running) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        if (showsSky(display)) {
            result.seconds = elapsed;
            break;
        }
        if (elapsed > timeoutSeconds || waitpid(game, nullptr, WNOHANG) != 0) running = false;
        std::this_thread::sleep_for(pollInterval);
    }
    if (running) {
        kill(game, SIGTERM);
        struct rusage usage = {};
        wait4(game, nullptr, 0, &usage);
        result.cpuSeconds =
            usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    // The next start waits until the screen is clear of this one.
    while (showsSky(display)) std::this_thread::sleep_for(pollInterval);
    return result;
}

// A start that never showed a frame counts as the slowest.
double seconds(const Start& start) { return start.seconds < 0 ? timeoutSeconds : start.seconds; }

}  // namespace

int main(int argc, char** argv) {
    const std::optional<StartPlan> plan = readStartPlan(argc, argv, "vorbel-bench-startup", {defaultRounds, {0}});
    if (!plan) return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::cerr << "vorbel-bench-startup: no X display (run it under tests/with-xvfb.sh)" << std::endl;
        return 1;
    }
    std::cout << "circuit  media MB  first frame ms: median  best  bare window  game CPU ms: median  (" << plan->rounds
              << " starts each)" << std::endl;
    for (int circuit : plan->circuits) {
        const GeneratedMedia media(circuit);
        if (!media.isReady()) continue;
        std::vector<double> times, bareTimes, cpu;
        for (int round = 0; round < plan->rounds; ++round) {
            bareTimes.push_back(seconds(startOnce(display, VORBEL_SKY_WINDOW_BINARY, media.prefix())));
            const Start start = startOnce(display, VORBEL_GAME_BINARY, media.prefix());
            times.push_back(seconds(start));
            cpu.push_back(start.cpuSeconds);
        }
        std::cout << std::setw(7) << circuit << std::fixed << std::setprecision(1) << std::setw(10)
                  << media.bytes() / (1024.0 * 1024.0) << std::setprecision(0) << std::setw(23)
                  << median(times) * 1000 << std::setw(6) << *std::min_element(times.begin(), times.end()) * 1000
                  << std::setw(13) << median(bareTimes) * 1000 << std::setw(21) << median(cpu) * 1000 << std::endl;
    }
    XCloseDisplay(display);
    return 0;
}
