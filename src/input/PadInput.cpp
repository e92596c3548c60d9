#include "input/PadInput.h"

#include <algorithm>
#include <cmath>

namespace {

const size_t maxNameLength = 40;  // characters of a pad's name on screen
const int noDirection = -1;

struct Stick {
    float x = 0, y = 0;
};

// A joystick without a mapping in the standard layout: its axis 0 as the left stick and its buttons
// 0 to 3 as A, B, X and Y, where they are already; nothing else, the triggers at rest.
PadState standardLayout(const PadState& read) {
    if (read.layout != PadState::Layout::raw) return read;
    PadState pad;
    pad.layout = read.layout;
    pad.axes[PadState::leftX] = read.axes[0];
    pad.axes[PadState::leftTrigger] = pad.axes[PadState::rightTrigger] = -1.0f;
    std::copy(read.buttons, read.buttons + PadState::y + 1, pad.buttons);
    return pad;
}

// The left stick beyond a radial dead zone, its travel counted from the zone's edge: a stick worn
// off centre, or pushed straight ahead a little askew, neither steers nor moves in the menus.
Stick leftStick(const PadState& pad) {
    const float x = pad.axes[PadState::leftX], y = pad.axes[PadState::leftY];
    const float length = std::sqrt(x * x + y * y);
    if (!(length > PadInput::stickDeadZone)) return {};
    const float travel = (std::min(length, 1.0f) - PadInput::stickDeadZone) / (1.0f - PadInput::stickDeadZone);
    return {x / length * travel, y / length * travel};
}

// The race's controls a pad holds; `triggerRested` (left, right) notes the triggers seen at rest.
PlayerControls heldControls(const PadState& pad, bool triggerRested[2]) {
    bool pulled[2];
    const PadState::Axis triggers[2] = {PadState::leftTrigger, PadState::rightTrigger};
    for (int side = 0; side < 2; ++side) {
        const float pull = (pad.axes[triggers[side]] + 1.0f) * 0.5f;
        if (pull < PadInput::triggerThreshold) triggerRested[side] = true;
        pulled[side] = triggerRested[side] && pull >= PadInput::triggerThreshold;
    }
    const Stick stick = leftStick(pad);
    const bool* button = pad.buttons;
    PlayerControls controls;
    controls.set(PlayerControls::steerLeft, button[PadState::dpadLeft] || stick.x < -PadInput::steerThreshold);
    controls.set(PlayerControls::steerRight, button[PadState::dpadRight] || stick.x > PadInput::steerThreshold);
    controls.set(PlayerControls::throttle, button[PadState::a] || pulled[1]);
    controls.set(PlayerControls::brake, button[PadState::b] || pulled[0]);
    controls.set(PlayerControls::drift, button[PadState::x] || button[PadState::rightShoulder]);
    controls.set(PlayerControls::useItem, button[PadState::y] || button[PadState::leftShoulder]);
    controls.set(PlayerControls::backwards, button[PadState::dpadDown] || stick.y > PadInput::pulledBack);
    return controls;
}

// The menus' direction a pad holds: the d-pad's, or else the stick's farther axis.
int heldDirection(const PadState& pad) {
    const struct {
        PadState::Button button;
        PadInput::Press press;
    } pads[] = {{PadState::dpadUp, PadInput::Press::up},
                {PadState::dpadDown, PadInput::Press::down},
                {PadState::dpadLeft, PadInput::Press::left},
                {PadState::dpadRight, PadInput::Press::right}};
    for (const auto& entry : pads) {
        if (pad.buttons[entry.button]) return static_cast<int>(entry.press);
    }
    const Stick stick = leftStick(pad);
    if (std::max(std::abs(stick.x), std::abs(stick.y)) <= PadInput::menuThreshold) return noDirection;
    if (std::abs(stick.x) > std::abs(stick.y)) {
        return static_cast<int>(stick.x < 0 ? PadInput::Press::left : PadInput::Press::right);
    }
    return static_cast<int>(stick.y < 0 ? PadInput::Press::up : PadInput::Press::down);
}

// A name as the bitmap font can show it, short enough to leave room on the line.
std::string printable(std::string name) {
    if (name.size() > maxNameLength) name.resize(maxNameLength);
    for (char& c : name) {
        if (c < ' ' || c > '~') c = '?';
    }
    return name;
}

}  // namespace

PadInput::Frame PadInput::poll(double now) {
    Frame frame;
    PlayerControls all;
    for (int index = 0; index < PadSource::slots; ++index) {
        const PadState pad = standardLayout(source.read(index));
        comeOrGo(index, pad, now, frame);
        if (pad.layout == PadState::Layout::absent) continue;
        Slot& slot = slots[index];
        press(slot, pad, now, frame);
        all.flags |= heldControls(pad, slot.triggerRested).flags;
        slot.last = pad;
    }
    frame.used = !frame.presses.empty() || (all.flags & ~holding.flags) != 0;
    taken.flags |= all.flags;
    holding = all;
    return frame;
}

PlayerControls PadInput::controls() {
    PlayerControls controls;
    controls.flags = holding.flags | taken.flags;
    taken = PlayerControls();
    return controls;
}

void PadInput::comeOrGo(int index, const PadState& pad, double now, Frame& frame) {
    Slot& slot = slots[index];
    const bool was = slot.last.layout != PadState::Layout::absent, is = pad.layout != PadState::Layout::absent;
    const std::string label = was != is ? "Game controller " + std::to_string(index + 1) : "";
    if (was && !is) {
        frame.messages.push_back(label + " disconnected: " + slot.name);
        frame.padLost = true;
        slot = Slot();
    } else if (is && !was) {
        slot.name = printable(source.name(index));
        frame.messages.push_back(label + " connected: " + slot.name);
        if (pad.layout == PadState::Layout::raw) {
            frame.messages.push_back(label + " has no mapping: axis 0 steers, buttons 0 to 3 are A, B, X, Y");
        }
        // What a pad holds as it comes was held all along: no press.
        slot.last = pad;
        slot.direction = heldDirection(pad);
        slot.nextRepeat = now + repeatDelay;
    }
}

void PadInput::press(Slot& slot, const PadState& pad, double now, Frame& frame) {
    const int direction = heldDirection(pad);
    if (direction != noDirection && (direction != slot.direction || now >= slot.nextRepeat)) {
        frame.presses.push_back(static_cast<Press>(direction));
        slot.nextRepeat = now + (direction == slot.direction ? repeatInterval : repeatDelay);
    }
    slot.direction = direction;
    const struct {
        PadState::Button button;
        Press press;
    } buttons[] = {{PadState::a, Press::choose},
                   {PadState::b, Press::back},
                   {PadState::start, Press::pause},
                   {PadState::back, Press::leave}};
    for (const auto& entry : buttons) {
        if (pad.buttons[entry.button] && !slot.last.buttons[entry.button]) frame.presses.push_back(entry.press);
    }
    // A restarts only as it is pressed: held as the throttle over the finish, it would skip the ranking.
    if (pad.buttons[PadState::a] && !slot.last.buttons[PadState::a]) taken.set(PlayerControls::restart);
}
