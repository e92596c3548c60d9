#pragma once

#include <string>

#include "input/PadSource.h"

// The game controllers as GLFW sees them: a joystick that GLFW has a mapping for in its standard
// gamepad layout, any other as its own axes and buttons.
class GlfwPadSource : public PadSource {
public:
    // With GLFW initialised: adds the player's mappings, from `settingsFolder` ("" for none) and the
    // environment, to GLFW's own.
    explicit GlfwPadSource(const std::string& settingsFolder);

    PadState read(int slot) override;
    std::string name(int slot) override;
};
