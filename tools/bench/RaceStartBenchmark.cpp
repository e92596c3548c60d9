// Race-start benchmark: the time from Enter on the front end to the race's first frame, for a circuit
// the front end must generate first and for the same circuit from the cache. Starts the game with
// --front-end from the build folder, with settings and a cache of its own that name the circuit,
// waits for its map, presses Enter twice with xdotool (on to the race screen, then start) and watches
// the top row of the screen until the sky shows. Mesa keeps the programs it compiles for OpenGL in a
// cache of its own, which one start fills for all: the figures compare the circuits, not that cache.
// Figures only. Needs an X display of its own:
//   tests/with-xvfb.sh <build>/tools/vorbel-bench-race-start [rounds] [circuit...]
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "StartWatch.h"
#include "Timing.h"
#include "frontend/FrontEndView.h"

namespace fs = std::filesystem;

namespace {

const double timeoutSeconds = 60;
const auto pollInterval = std::chrono::milliseconds(2);
const ScreenColour mapPlaceholder = {41, 41, 48};  // the map's place before the map comes
// Inside the map's lower right corner, from the top of a 1024 x 768 screen.
const int mapProbeX = FrontEndView::mapLeft + FrontEndView::mapSize - 4;
const int mapProbeY = FrontEndView::areaHeight - FrontEndView::mapBottom - 4;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Runs a program to its end; false when it could not or failed.
bool run(const std::vector<const char*>& arguments) {
    const pid_t child = fork();
    if (child == 0) {
        execvp(arguments[0], const_cast<char* const*>(arguments.data()));
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Waits until `done` or the time-out; false on the time-out.
template <typename Condition>
bool waitFor(Condition done) {
    const Clock::time_point start = Clock::now();
    while (!done()) {
        if (secondsSince(start) > timeoutSeconds) return false;
        std::this_thread::sleep_for(pollInterval);
    }
    return true;
}

// Seconds from the second Enter to the first race frame, -1 when it never came. `home` holds the
// settings and the cache of circuits, `work` Mesa's cache.
double startOnce(Display* display, const std::string& work, const std::string& home, int circuit) {
    fs::create_directories(home + "/config/vorbel-race");
    std::ofstream(home + "/config/vorbel-race/settings") << "circuit = " << circuit << "\n";
    const pid_t game = fork();
    if (game == 0) {
        if (chdir(VORBEL_BUILD_DIR) != 0) _exit(127);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
        setenv("MESA_SHADER_CACHE_DIR", (work + "/mesa").c_str(), 1);
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(127);
        execl(VORBEL_GAME_BINARY, VORBEL_GAME_BINARY, "--front-end", static_cast<char*>(nullptr));
        _exit(127);
    }
    double seconds = -1;
    const bool mapShown = waitFor([&] {
        const ScreenColour probe = screenColour(display, mapProbeX, mapProbeY);
        return !probe.near(mapPlaceholder, 2) && !probe.near({0, 0, 0}, 2);
    });
    if (mapShown && run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Vorbel Race$", "windowfocus",
                         "--sync", "key", "Return", "Return", nullptr})) {
        const Clock::time_point start = Clock::now();
        if (waitFor([&] { return showsSky(display); })) seconds = secondsSince(start);
    }
    kill(game, SIGTERM);
    waitpid(game, nullptr, 0);
    // The next start waits until the screen is clear of this one.
    waitFor([&] { return !showsSky(display); });
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<StartPlan> plan = readStartPlan(argc, argv, "vorbel-bench-race-start", {3, {0, 7}});
    if (!plan) return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::cerr << "vorbel-bench-race-start: no X display (run it under tests/with-xvfb.sh)" << std::endl;
        return 1;
    }
    char pattern[] = "/tmp/vorbel-race-start-XXXXXX";
    const std::string work = mkdtemp(pattern) ? pattern : "";
    std::cout << "circuit  Enter to the first race frame, ms: generated first  from the cache  (median of " << plan->rounds
              << ")" << std::endl;
    startOnce(display, work, work + "/warming", 0);
    for (int circuit : plan->circuits) {
        std::vector<double> generated, cached;
        for (int round = 0; round < plan->rounds; ++round) {
            const std::string home = work + "/" + std::to_string(circuit) + "-" + std::to_string(round);
            generated.push_back(startOnce(display, work, home, circuit) * 1000);
            cached.push_back(startOnce(display, work, home, circuit) * 1000);
        }
        std::cout << std::setw(7) << circuit << std::fixed << std::setprecision(0) << std::setw(43)
                  << median(generated) << std::setw(16) << median(cached) << std::endl;
    }
    fs::remove_all(work);
    XCloseDisplay(display);
    return 0;
}
