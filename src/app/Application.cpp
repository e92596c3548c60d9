#include "app/Application.h"

#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/FrontEndSession.h"
#include "app/MediaDirectory.h"
#include "app/ProcessLibraries.h"
#include "app/RaceHost.h"
#include "app/RaceLoop.h"
#include "app/WindowMode.h"
#include "audio/AudioDevice.h"
#include "frontend/SettingsStore.h"
#include "game/BitmapText.h"
#include "game/RaceSettings.h"
#include "game/RenderSettings.h"
#include "input/GlfwPadSource.h"
#include "input/PadInput.h"

namespace {

const std::string frontEndArgument = "--front-end";

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

int raceAtOnce() {
    // Textures are decoded here, by a child process forked before any other thread runs.
    const std::string mediaPrefix = findMediaDirectory();
    startProcessLibraries(mediaPrefix);
    glfwInit();  // before the loading reads the game clock, which is the window timer
    // The level loads while the window opens, the two longest steps of the start-up; the loading makes
    // no OpenGL call.
    std::unique_ptr<RaceHost> race;
    std::thread loading([&race] { race.reset(new RaceHost(RaceSettings())); });
    GLFWwindow* window = openWindow();
    loading.join();
    const bool prepared = prepareWindow(window);
    if (prepared) {
        glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
        const std::unique_ptr<AudioDevice> device = AudioDevice::openDefault();
        GlfwPadSource padSource(SettingsStore::defaultFolder());
        PadInput pads(padSource);
        race->attach(window, device.get(), mediaPrefix, &pads);
        RaceLoop(race->game(), &race->audio(), window, false, &pads).run();
        race.reset();  // its sound goes before the device
    }
    race.reset();
    stopProcessLibraries();
    if (window) glfwTerminate();
    return prepared ? 0 : 1;
}

int frontEnd() {
    SettingsStore store(SettingsStore::defaultFolder());
    const PlayerSettings settings = store.load();
    glfwInit();
    GLFWwindow* window = openChosenWindow(settings.fullScreen);
    const bool prepared = prepareWindow(window);
    if (prepared) {
        const std::unique_ptr<AudioDevice> device = AudioDevice::openDefault();
        GlfwPadSource padSource(SettingsStore::defaultFolder());
        PadInput pads(padSource);
        // The session's textures go while the context is current.
        FrontEndSession(window, device.get(), store, settings, findMediaDirectory(), &pads).run();
    }
    stopProcessLibraries();
    if (window) glfwTerminate();
    return prepared ? 0 : 1;
}

}  // namespace

int runApplication(int argc, char** argv) {
    if (argc == 2 && argv[1] == frontEndArgument) return frontEnd();
    if (argc > 1) std::cerr << "usage: vorbel-race [" << frontEndArgument << "]; racing at once" << std::endl;
    return raceAtOnce();
}
