#include "app/Application.h"

#include <atomic>
#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <btBulletDynamicsCommon.h>

#include "app/GameArguments.h"
#include "app/MediaDirectory.h"
#include "app/ProcessLibraries.h"
#include "audio/AudioDevice.h"
#include "audio/RaceAudio.h"
#include "game/BitmapText.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "game/HeadsUpDisplay.h"
#include "game/KeyInput.h"
#include "game/Light.h"
#include "game/RenderSettings.h"
#include "input/CourseDriver.h"
#include "input/KeyboardControls.h"
#include "items/ShellClasses.h"
#include "records/DataFolder.h"
#include "replay/BuildIdentity.h"
#include "replay/GhostKart.h"
#include "replay/Replay.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplaySession.h"

namespace {

const int windowWidthPixels = 1024;
const int windowHeightPixels = 768;
const int maxSubSteps = 10;

// The scene light: its arrays live as long as the light.
const float lightPosition[] = {100.0f, 1000.0f, 100.0f, 1.0f};
const float lightAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
const float lightDiffuse[] = {0.9f, 0.9f, 0.9f, 1.0f};
const float lightSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};

void keyCallback(GLFWwindow*, int key, int, int action, int) { onKey(key, action); }

// One frame: physics sub-steps (each followed by the tick: controls, then standings) -> a finished
// race kept -> camera -> draw world, messages and display -> swap buffers (key and resize callbacks
// run here) -> sound.
void runFrameLoop(Game& game, GLFWwindow* window, ReplaySession& replays, RaceAudio& audio) {
    for (;;) {
        game.previousTime = game.currentTime;
        game.currentTime = GameClock::now();
        game.frameTime = game.currentTime - game.previousTime;
        game.dynamicsWorld->stepSimulation(static_cast<btScalar>(game.frameTime), maxSubSteps, Game::subStep);
        replays.afterPhysics(game);
        game.renderFrame();
        audio.update(static_cast<float>(game.frameTime));
        if (glfwGetKey(window, GLFW_KEY_ESCAPE) == GLFW_PRESS) break;
        if (glfwWindowShouldClose(window)) break;
    }
}

}  // namespace

GLFWwindow* openWindow() {
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    GLFWwindow* window =
        glfwCreateWindow(windowWidthPixels, windowHeightPixels, "Vorbel Race", glfwGetPrimaryMonitor(), nullptr);
    if (window) glfwMakeContextCurrent(window);
    return window;
}

namespace {

// The replays of this run: the one asked for, played in place of the player, or, by default, the
// player's races recorded. A replay that cannot be played gives one line and the race as usual.
std::unique_ptr<ReplaySession> startReplays(const GameArguments& arguments, const MediaMarker& media,
                                            RaceSettings& settings) {
    const int circuit = media.circuit;
    if (!arguments.replayFile.empty()) {
        std::string error;
        std::optional<Replay> replay = ReplayArchive::load(arguments.replayFile, error);
        if (replay && replay->circuit != circuit) error = "a race on circuit " + std::to_string(replay->circuit) +
                                                          ", and these media are circuit " + std::to_string(circuit);
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
    if (circuit < 0) std::cerr << "WARNING: the media name no circuit number: no records or replays are kept" << std::endl;
    return std::unique_ptr<ReplaySession>(new ReplaySession(circuit, media.generator, playerDataFolder()));
}

}  // namespace

int runApplication(const GameArguments& arguments) {
    // Textures are decoded here, by a child process forked before any other thread runs.
    const std::string mediaPrefix = findMediaDirectory();
    startProcessLibraries(mediaPrefix);
    const MediaMarker media = MediaMarker::read(mediaPrefix);
    const int circuit = media.circuit;
    RaceSettings settings = arguments.settings;
    const std::unique_ptr<ReplaySession> replays = startReplays(arguments, media, settings);
    glfwInit();  // before the loading reads the game clock, which is the window timer
    // The level loads while the window opens, the two longest steps of the start-up; the loading makes
    // no OpenGL call. A time trial's ghost runs its race first: no two games may run at once.
    std::unique_ptr<Game> game;
    std::unique_ptr<GhostKart> ghost;
    const bool timeTrial = arguments.timeTrial && arguments.replayFile.empty() && circuit >= 0;
    std::atomic<int> ghostPercent(0);
    std::atomic<bool> loaded(false);
    std::thread loading([&] {
        prepareShellClasses();
        GhostPath ghostPath;
        if (timeTrial) {
            ghostPath = GhostPath::ofBestRace(ReplayArchive(playerDataFolder()), circuit, media.generator, settings.laps,
                                              [&ghostPercent](double share) { ghostPercent = static_cast<int>(share * 100); });
        }
        game.reset(new Game());
        game->settings = settings;
        game->restart();
        if (!ghostPath.empty()) {
            ghost.reset(new GhostKart(*game, std::move(ghostPath)));
            game->ghost = ghost.get();
        }
        loaded = true;
    });
    GLFWwindow* window = openWindow();
    // A whole race run again takes seconds: the window says so meanwhile, rather than stay black.
    while (window && timeTrial && !loaded) {
        initBitmapFont();
        drawNotice("The best race runs again for its ghost: " + std::to_string(ghostPercent) + " %");
        glfwSwapBuffers(window);
        glfwPollEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    loading.join();
    Light light(lightPosition, lightAmbient, lightDiffuse, lightSpecular, 1.0f, 0.0f, 0.0f, GL_LIGHT0);
    game->addLight(&light);

    int status = 0;
    if (!window) {
        glfwTerminate();
        std::cerr << "ERROR in glfwOpenWindow, can't continue." << std::endl;
        status = 1;
    } else if (GLenum error = glewInit(); error != GLEW_OK) {
        std::cerr << "ERROR in glewInit(), can't continue: " << glewGetErrorString(error) << std::endl;
        status = 1;
    } else {
        renderSettings.vertexBuffersSupported = GLEW_ARB_vertex_buffer_object;
        if (!renderSettings.vertexBuffersSupported) {
            std::cerr << "WARNING: vertex buffer objects not supported" << std::endl;
            renderSettings.vertexMode = 1;
        }
        glfwSetWindowTitle(window, "Vorbel Race");
        glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
        glfwSetKeyCallback(window, keyCallback);
        const KeyboardControls keyboard([window](int key) { return glfwGetKey(window, key) == GLFW_PRESS; });
        game->readControls = [&] {
            PlayerControls controls = keyboard.read();
            if (arguments.autopilot) controls.flags |= courseDriverControls(*game).flags;
            return replays->controls(*game, controls);
        };
        initBitmapFont();
        game->initGL();
        const std::unique_ptr<AudioDevice> device = AudioDevice::openDefault();
        RaceAudio audio(*game, device.get(), mediaPrefix + "media/sounds/");
        setSoundToggle([&audio] { return audio.toggleMute(); });
        runFrameLoop(*game, window, *replays, audio);
        setSoundToggle(nullptr);
    }

    releaseShellClasses();
    game.reset();
    ghost.reset();
    stopProcessLibraries();
    if (window) glfwTerminate();
    return status;
}
