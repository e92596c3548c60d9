#include "app/Application.h"

#include <iostream>
#include <memory>
#include <thread>

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <btBulletDynamicsCommon.h>

#include "app/MediaDirectory.h"
#include "app/ProcessLibraries.h"
#include "audio/AudioDevice.h"
#include "audio/RaceAudio.h"
#include "game/BitmapText.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "game/KeyInput.h"
#include "game/Light.h"
#include "game/RenderSettings.h"
#include "input/KeyboardControls.h"
#include "items/ShellClasses.h"

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

// One frame: physics sub-steps (each followed by the tick: keys, then standings) -> camera ->
// draw world, messages and display -> swap buffers (key and resize callbacks run here) -> sound.
void runFrameLoop(Game& game, GLFWwindow* window, RaceAudio& audio) {
    for (;;) {
        game.previousTime = game.currentTime;
        game.currentTime = GameClock::now();
        game.frameTime = game.currentTime - game.previousTime;
        game.dynamicsWorld->stepSimulation(static_cast<btScalar>(game.frameTime), maxSubSteps, Game::subStep);
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

int runApplication() {
    // Textures are decoded here, by a child process forked before any other thread runs.
    const std::string mediaPrefix = findMediaDirectory();
    startProcessLibraries(mediaPrefix);
    glfwInit();  // before the loading reads the game clock, which is the window timer
    // The level loads while the window opens, the two longest steps of the start-up; the loading makes
    // no OpenGL call.
    std::unique_ptr<Game> game;
    std::thread loading([&game] {
        game.reset(new Game());
        game->restart();
        prepareShellClasses();
    });
    GLFWwindow* window = openWindow();
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
        game->readControls = [&keyboard] { return keyboard.read(); };
        initBitmapFont();
        game->initGL();
        const std::unique_ptr<AudioDevice> device = AudioDevice::openDefault();
        RaceAudio audio(*game, device.get(), mediaPrefix + "media/sounds/");
        setSoundToggle([&audio] { return audio.toggleMute(); });
        runFrameLoop(*game, window, audio);
        setSoundToggle(nullptr);
    }

    releaseShellClasses();
    game.reset();
    stopProcessLibraries();
    if (window) glfwTerminate();
    return status;
}
