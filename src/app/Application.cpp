#include "app/Application.h"

#include <atomic>
#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/FrontEndSession.h"
#include "app/GameArguments.h"
#include "app/MediaDirectory.h"
#include "app/ProcessLibraries.h"
#include "app/RaceHost.h"
#include "app/RaceLoop.h"
#include "app/WindowMode.h"
#include "audio/AudioDevice.h"
#include "frontend/SettingsStore.h"
#include "game/BitmapText.h"
#include "game/HeadsUpDisplay.h"
#include "game/RaceSettings.h"
#include "game/RenderSettings.h"
#include "input/GlfwPadSource.h"
#include "input/PadInput.h"
#include "replay/BuildIdentity.h"
#include "replay/GhostPath.h"
#include "replay/Replay.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplaySession.h"
#include "storage/PlayerFolders.h"

namespace {

// OpenGL extensions, the title and the bitmap font for an opened window. False after one error line
// when there is no window or no extension loader.
bool prepareWindow(GLFWwindow* window) {
    if (!window) {
        glfwTerminate();
        std::cerr << "ERROR in glfwOpenWindow, can't continue." << std::endl;
        return false;
    }
    if (GLenum error = glewInit(); error != GLEW_OK) {
        std::cerr << "ERROR in glewInit(), can't continue: " << glewGetErrorString(error) << std::endl;
        return false;
    }
    renderSettings.vertexBuffersSupported = GLEW_ARB_vertex_buffer_object;
    if (!renderSettings.vertexBuffersSupported) {
        std::cerr << "WARNING: vertex buffer objects not supported" << std::endl;
        renderSettings.vertexMode = 1;
    }
    glfwSetWindowTitle(window, "Vorbel Race");
    initBitmapFont();
    return true;
}

// The replays of this run: the one asked for, played in place of the player, or, by default, the
// player's races recorded. A replay that cannot be played gives one line and the race as usual.
std::unique_ptr<ReplaySession> startReplays(const GameArguments& arguments, const MediaMarker& media,
                                            RaceSettings& settings) {
    if (!arguments.replayFile.empty()) {
        std::string error;
        std::optional<Replay> replay = ReplayArchive::load(arguments.replayFile, error);
        if (replay && replay->circuit != media.circuit) {
            error = "a race on circuit " + std::to_string(replay->circuit) + ", and these media are circuit " +
                    std::to_string(media.circuit);
        }
        if (replay && error.empty()) {
            const std::string foreign = replay->foreignTo(gameBuildIdentity(), media.generator);
            if (!foreign.empty()) {
                std::cerr << "WARNING: " << arguments.replayFile << " is played, but its race may run otherwise here: "
                          << foreign << std::endl;
            }
            settings = replay->settings;
            return std::unique_ptr<ReplaySession>(new ReplaySession(*replay));
        }
        std::cerr << "ERROR: replay " << arguments.replayFile << " cannot be played (" << error
                  << "); racing instead" << std::endl;
    }
    if (media.circuit < 0) std::cerr << "WARNING: the media name no circuit number: no records or replays are kept" << std::endl;
    return std::unique_ptr<ReplaySession>(new ReplaySession(media.circuit, media.generator, playerDataFolder()));
}

int raceAtOnce(const GameArguments& arguments) {
    // Textures are decoded here, by a child process forked before any other thread runs.
    const std::string mediaPrefix = findMediaDirectory();
    startProcessLibraries(mediaPrefix);
    const MediaMarker media = MediaMarker::read(mediaPrefix);
    RaceSettings settings = arguments.settings;
    const std::unique_ptr<ReplaySession> replays = startReplays(arguments, media, settings);
    glfwInit();  // before the loading reads the game clock, which is the window timer
    // The level loads while the window opens, the two longest steps of the start-up; the loading makes
    // no OpenGL call. A time trial's ghost runs its race first: no two games may run at once.
    const bool timeTrial = arguments.timeTrial && arguments.replayFile.empty() && media.circuit >= 0;
    std::atomic<int> ghostPercent(0);
    std::atomic<bool> loaded(false);
    std::unique_ptr<RaceHost> race;
    std::thread loading([&] {
        GhostPath ghost;
        if (timeTrial) {
            ghost = GhostPath::ofBestRace(ReplayArchive(playerDataFolder()), media.circuit, media.generator, settings.laps,
                                          [&ghostPercent](double share) { ghostPercent = static_cast<int>(share * 100); });
        }
        race.reset(new RaceHost(settings, std::move(ghost)));
        loaded = true;
    });
    GLFWwindow* window = openWindow();
    const bool prepared = prepareWindow(window);
    // A whole race run again takes seconds: the window says so meanwhile, rather than stay black.
    while (prepared && timeTrial && !loaded) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawScreenNote("The best race runs again for its ghost: " + std::to_string(ghostPercent) + " %", 6);
        glfwSwapBuffers(window);
        glfwPollEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    loading.join();
    if (prepared) {
        glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
        const std::unique_ptr<AudioDevice> device = AudioDevice::openDefault();
        GlfwPadSource padSource(playerConfigFolder());
        PadInput pads(padSource);
        race->attach(window, device.get(), mediaPrefix, *replays, &pads, arguments.autopilot);
        RaceLoop(race->game(), &race->audio(), replays.get(), window, false, &pads).run();
        race.reset();  // its sound goes before the device
    }
    race.reset();
    stopProcessLibraries();
    if (window) glfwTerminate();
    return prepared ? 0 : 1;
}

int frontEnd() {
    SettingsStore store(playerConfigFolder());
    const PlayerSettings settings = store.load();
    glfwInit();
    GLFWwindow* window = openChosenWindow(settings.fullScreen);
    const bool prepared = prepareWindow(window);
    if (prepared) {
        const std::unique_ptr<AudioDevice> device = AudioDevice::openDefault();
        GlfwPadSource padSource(playerConfigFolder());
        PadInput pads(padSource);
        // The session's textures go while the context is current.
        FrontEndSession(window, device.get(), store, settings, findMediaDirectory(), &pads).run();
    }
    stopProcessLibraries();
    if (window) glfwTerminate();
    return prepared ? 0 : 1;
}

}  // namespace

int runApplication(const GameArguments& arguments) {
    return arguments.frontEnd ? frontEnd() : raceAtOnce(arguments);
}
