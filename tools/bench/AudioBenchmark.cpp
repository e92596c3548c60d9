// Audio benchmark: what the sound costs the game's main thread. Prints the start-up of the sound
// (device, sound bank, voices and music) with OpenAL's null driver and with no device at all, the
// audio's work per frame over the first seconds of a race of 8 karts on the default level with the
// null driver mixing beside it, and the bytes of the level's sounds and music. Run it from the build
// folder (it reads ./media).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include <btBulletDynamicsCommon.h>

#include "app/ProcessLibraries.h"
#include "audio/AudioDevice.h"
#include "audio/RaceAudio.h"
#include "game/Camera.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "items/ShellClasses.h"
#include "Timing.h"

namespace {

const char* const soundsFolder = "./media/sounds/";

// Milliseconds from asking for the machine's device to a race audio ready to play.
double startUp(Game& game) {
    const Clock::time_point start = Clock::now();
    std::unique_ptr<AudioDevice> device = AudioDevice::openDefault();
    RaceAudio audio(game, device.get(), soundsFolder);
    return millisecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(60, std::atoi(argv[1])) : 600;
    GameClock::useSimulatedTime(0);
    startProcessLibraries("./");
    prepareShellClasses();
    Game game;
    game.restart();

    setenv("ALSOFT_DRIVERS", "null", 1);
    startUp(game);  // the library's own first loading is not the game's every start
    std::vector<double> starts;
    for (int i = 0; i < 5; ++i) starts.push_back(startUp(game));
    std::sort(starts.begin(), starts.end());
    unsetenv("ALSOFT_DRIVERS");
    const double withoutDevice = startUp(game);
    std::printf("sound start-up with the null driver: median %.2f ms, best %.2f ms (5 starts)\n", starts[2], starts[0]);
    std::printf("sound start-up on this machine without ALSOFT_DRIVERS: %.2f ms\n", withoutDevice);

    setenv("ALSOFT_DRIVERS", "null", 1);
    std::unique_ptr<AudioDevice> device = AudioDevice::openDefault();
    RaceAudio audio(game, device.get(), soundsFolder);
    std::vector<double> costs;
    for (int frame = 0; frame < frames; ++frame) {
        game.dynamicsWorld->stepSimulation(Game::subStep, 1, Game::subStep);
        if (game.cameras.size() > 0) game.cameras[0]->follow(Game::subStep);
        const Clock::time_point start = Clock::now();
        audio.update(Game::subStep);
        costs.push_back(millisecondsSince(start));
    }
    double total = 0;
    for (double cost : costs) total += cost;
    std::sort(costs.begin(), costs.end());
    std::printf("audio update per frame, %d karts, first %.0f s of the race: mean %.3f ms, median %.3f ms, "
                "99th percentile %.3f ms, longest %.3f ms; %d voices playing at the end\n",
                game.vehicles.size(), frames * Game::subStep, total / frames, costs[costs.size() / 2],
                costs[costs.size() * 99 / 100], costs.back(), audio.voicesPlaying());

    uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(soundsFolder)) bytes += entry.file_size();
    std::printf("sounds and music of this level: %.2f MB\n", bytes / 1e6);
    releaseShellClasses();
    stopProcessLibraries();
    return 0;
}
