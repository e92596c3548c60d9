#include "input/GlfwPadSource.h"

#include <algorithm>

#include <GLFW/glfw3.h>

#include "input/PadMappings.h"

static_assert(PadSource::slots == GLFW_JOYSTICK_LAST + 1);
static_assert(PadState::buttonCount == GLFW_GAMEPAD_BUTTON_LAST + 1 && PadState::axisCount == GLFW_GAMEPAD_AXIS_LAST + 1);

GlfwPadSource::GlfwPadSource(const std::string& settingsFolder) {
    PadMappings mappings;
    mappings.addPlayers(settingsFolder);
    // GLFW says it succeeded whatever it was given: which pads it maps shows as they are read.
    if (mappings.count() > 0) glfwUpdateGamepadMappings(mappings.text().c_str());
}

PadState GlfwPadSource::read(int slot) {
    PadState pad;
    if (!glfwJoystickPresent(slot)) return pad;
    GLFWgamepadstate gamepad;
    if (glfwJoystickIsGamepad(slot) && glfwGetGamepadState(slot, &gamepad)) {
        pad.layout = PadState::Layout::gamepad;
        std::copy(gamepad.axes, gamepad.axes + PadState::axisCount, pad.axes);
        for (int button = 0; button < PadState::buttonCount; ++button) pad.buttons[button] = gamepad.buttons[button] == GLFW_PRESS;
        return pad;
    }
    int axisCount = 0, buttonCount = 0;
    const float* axes = glfwGetJoystickAxes(slot, &axisCount);
    const unsigned char* buttons = glfwGetJoystickButtons(slot, &buttonCount);
    // Unplugged between the calls: GLFW gives null and no count.
    if (!axes && !buttons) return pad;
    pad.layout = PadState::Layout::raw;
    std::copy(axes, axes + std::min<int>(axisCount, PadState::axisCount), pad.axes);
    for (int button = 0; button < std::min<int>(buttonCount, PadState::buttonCount); ++button) {
        pad.buttons[button] = buttons[button] == GLFW_PRESS;
    }
    return pad;
}

std::string GlfwPadSource::name(int slot) {
    const char* name = glfwGetJoystickName(slot);
    return name ? name : "";
}
