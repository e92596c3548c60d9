#pragma once

#include <string>

// One game controller as it is now. A pad with a mapping gives GLFW's standard gamepad layout; a
// joystick without one gives its own first axes and buttons in the same arrays, in its own order.
struct PadState {
    enum class Layout { absent, gamepad, raw };
    // Sticks from -1 to 1, right and down positive; triggers from -1 (at rest) to 1.
    enum Axis { leftX, leftY, rightX, rightY, leftTrigger, rightTrigger, axisCount };
    enum Button {
        a, b, x, y, leftShoulder, rightShoulder, back, start, guide, leftThumb, rightThumb,
        dpadUp, dpadRight, dpadDown, dpadLeft, buttonCount
    };

    Layout layout = Layout::absent;
    float axes[axisCount] = {};
    bool buttons[buttonCount] = {};
};

// Where the game controllers are read: GLFW's joysticks in the game, a fake in tests.
class PadSource {
public:
    static constexpr int slots = 16;  // as many joysticks as GLFW tells apart

    virtual ~PadSource() = default;
    // The pad in `slot` (0 to slots - 1); absent when none is plugged in there.
    virtual PadState read(int slot) = 0;
    // The pad's name as its driver gives it, for the player to tell pads apart.
    virtual std::string name(int slot) = 0;
};
