#pragma once

#include <string>

#include "input/PadSource.h"

// The game controllers as GLFW sees them: a joystick that GLFW has a mapping for in its standard
// gamepad layout, any other as its own axes and buttons.
class GlfwPadSource : public PadSource {
public:
    // With GLFW initialised: adds `mappings` (lines in SDL's format, checked beforehand: GLFW takes
    // anything and says it succeeded) to GLFW's own.
    explicit GlfwPadSource(const std::string& mappings);

    PadState read(int slot) override;
    std::string name(int slot) override;
};
