#include "app/RaceHost.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include "audio/RaceAudio.h"
#include "game/Game.h"
#include "game/KeyInput.h"
#include "game/Light.h"
#include "input/CourseDriver.h"
#include "input/KeyboardControls.h"
#include "input/PadInput.h"
#include "items/ShellClasses.h"
#include "replay/GhostKart.h"
#include "replay/ReplaySession.h"

namespace {

// The scene light: its arrays live as long as the light.
const float lightPosition[] = {100.0f, 1000.0f, 100.0f, 1.0f};
const float lightAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
const float lightDiffuse[] = {0.9f, 0.9f, 0.9f, 1.0f};
const float lightSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};

}  // namespace

RaceHost::RaceHost(const RaceSettings& settings, GhostPath ghostPath) : race(new Game()) {
    race->settings = settings;
    race->restart();
    if (!ghostPath.empty()) {
        ghost.reset(new GhostKart(*race, std::move(ghostPath)));
        race->ghost = ghost.get();
    }
    prepareShellClasses();
    light.reset(new Light(lightPosition, lightAmbient, lightDiffuse, lightSpecular, 1.0f, 0.0f, 0.0f, GL_LIGHT0));
    race->addLight(light.get());
}

RaceHost::~RaceHost() {
    setSoundToggle(nullptr);
    sound.reset();
    releaseShellClasses();
    race.reset();
}

void RaceHost::attach(GLFWwindow* window, AudioDevice* device, const std::string& mediaPrefix, ReplaySession& replays,
                      PadInput* pads, bool autopilot) {
    keyboard.reset(new KeyboardControls([window](int key) { return glfwGetKey(window, key) == GLFW_PRESS; }));
    // The keyboard and the pads together: either may steer while the other accelerates.
    race->readControls = [this, &replays, pads, autopilot] {
        PlayerControls controls = keyboard->read();
        if (pads) controls.flags |= pads->controls().flags;
        if (autopilot) controls.flags |= courseDriverControls(*race).flags;
        return replays.controls(*race, controls);
    };
    race->initGL();
    sound.reset(new RaceAudio(*race, device, mediaPrefix + "media/sounds/"));
    setSoundToggle([this] { return sound->toggleMute(); });
}
