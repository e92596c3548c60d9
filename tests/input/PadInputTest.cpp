#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/PadInput.h"

namespace {

using Press = PadInput::Press;
using Presses = std::vector<Press>;
using Texts = std::vector<std::string>;

struct FakePads : PadSource {
    PadState read(int slot) override { return pads[slot]; }
    std::string name(int) override { return "Pad\t9"; }
    PadState pads[slots];
};

PadState pad(std::initializer_list<PadState::Button> pressed, float x = 0, float y = 0, float leftTrigger = -1,
             float rightTrigger = -1, PadState::Layout layout = PadState::Layout::gamepad) {
    PadState state;
    state.layout = layout;
    for (PadState::Button button : pressed) state.buttons[button] = true;
    state.axes[PadState::leftX] = x;
    state.axes[PadState::leftY] = y;
    state.axes[PadState::leftTrigger] = leftTrigger;
    state.axes[PadState::rightTrigger] = rightTrigger;
    return state;
}

// A joystick without a mapping: its own axes 0 and 1, axes 4 and 5 half way, buttons counted from 0.
PadState raw(std::initializer_list<PadState::Button> pressed, float axis0 = 0, float axis1 = 0) {
    return pad(pressed, axis0, axis1, 0, 0, PadState::Layout::raw);
}

}  // namespace

// Each button, stick and trigger drives the kart as the layout says, a stick just out of centre or
// pushed forwards not at all, and a joystick without a mapping by its axis 0 and buttons 0 to 3 only.
TEST(PadInput, ButtonsSticksAndTriggersDrive) {
    using C = PlayerControls;
    const struct {
        PadState state;
        uint16_t controls;
    } cases[] = {
        {pad({PadState::a}), C::throttle | C::restart}, {pad({PadState::b}), C::brake},
        {pad({PadState::x}), C::drift}, {pad({PadState::rightShoulder}), C::drift},
        {pad({PadState::y}), C::useItem}, {pad({PadState::leftShoulder}), C::useItem},
        {pad({PadState::dpadLeft}), C::steerLeft}, {pad({PadState::dpadRight}), C::steerRight},
        {pad({PadState::y, PadState::dpadDown}), C::useItem | C::backwards},
        {pad({PadState::y}, 0.1f, 0.8f), C::useItem | C::backwards}, {pad({}, 0.1f, -0.9f), 0},
        {pad({}, -0.35f), 0}, {pad({}, 0.15f, 0.15f), 0}, {pad({}, -0.6f), C::steerLeft}, {pad({}, 0.6f, 0.5f), C::steerRight},
        {pad({}, 0, 0, -1, 0), C::throttle}, {pad({}, 0, 0, 0, -1), C::brake}, {pad({}, 0, 0, -0.6f, -0.6f), 0},
        {raw({}, 0.9f), C::steerRight}, {raw({}, 0, 0.9f), 0}, {raw({PadState::b}), C::brake},
        {raw({PadState::y}), C::useItem}, {raw({PadState::rightShoulder, PadState::dpadLeft}, 0), 0},
    };
    for (const auto& entry : cases) {
        FakePads source;
        PadInput input(source);
        source.pads[3] = pad({});
        source.pads[3].layout = entry.state.layout;
        input.poll(0);
        source.pads[3] = entry.state;
        input.poll(0.02);
        EXPECT_EQ(input.controls().flags, entry.controls) << "case " << (&entry - cases);
    }

    // A trigger that a mapping leaves out reads 0, half pulled, from the start: it counts only once it
    // has been seen at rest.
    FakePads source;
    PadInput input(source);
    source.pads[0] = pad({}, 0, 0, 0, 0);
    input.poll(0);
    EXPECT_EQ(input.controls().flags, 0);
    source.pads[0] = pad({}, 0, 0, -1, 0);
    input.poll(0.02);
    source.pads[0] = pad({}, 0, 0, 0, 0);
    input.poll(0.04);
    EXPECT_EQ(input.controls().flags, PlayerControls::brake);
}

// A tap between two sub-steps is read once, as a sticky key is; A restarts as it is pressed, never
// while held (it is the throttle too, held over the finish line).
TEST(PadInput, TapsAreReadOnceAndARestartsOnlyAsPressed) {
    FakePads source;
    PadInput input(source);
    source.pads[0] = pad({});
    input.poll(0);
    source.pads[0] = pad({PadState::y});
    input.poll(0.01);
    source.pads[0] = pad({});
    input.poll(0.02);
    EXPECT_EQ(input.controls().flags, PlayerControls::useItem);
    EXPECT_EQ(input.controls().flags, 0);

    source.pads[0] = pad({PadState::a});
    input.poll(0.03);
    input.poll(0.04);
    EXPECT_EQ(input.controls().flags, PlayerControls::throttle | PlayerControls::restart);
    input.poll(0.05);
    EXPECT_EQ(input.controls().flags, PlayerControls::throttle);
}

// The menus: a direction moves at once, again after a pause and then quickly while held, the d-pad
// before the stick; buttons count as they are pressed, not while held, nor held as the pad came.
TEST(PadInput, MenuPressesRepeatWhileHeld) {
    FakePads source;
    PadInput input(source);
    const struct {
        double time;
        PadState state;
        Presses presses;
    } frames[] = {
        {0.0, pad({PadState::a}), {}}, {0.1, pad({PadState::a}), {}}, {0.2, pad({PadState::dpadDown}), {Press::down}},
        {0.5, pad({PadState::dpadDown}), {}}, {0.61, pad({PadState::dpadDown}), {Press::down}},
        {0.7, pad({PadState::dpadDown}), {}}, {0.74, pad({PadState::dpadDown}, 0.9f), {Press::down}},
        {0.8, pad({}, 0.9f), {Press::right}}, {0.9, pad({}, -0.3f, -0.9f), {Press::up}},
        {1.0, pad({PadState::b, PadState::start, PadState::back}), {Press::back, Press::pause, Press::leave}},
        {1.1, pad({PadState::a, PadState::start}), {Press::choose}},
    };
    for (const auto& frame : frames) {
        source.pads[1] = frame.state;
        EXPECT_EQ(input.poll(frame.time).presses, frame.presses) << "at " << frame.time << " s";
    }
}

// Pads found at the start and plugged in later say so once and drive at once; one unplugged is lost
// until a pad is used again.
TEST(PadInput, PadsComeAndGo) {
    FakePads source;
    PadInput input(source);
    source.pads[2] = pad({});
    PadInput::Frame frame = input.poll(0);
    EXPECT_EQ(frame.messages, Texts{"Game controller 3 connected: Pad?9"});
    EXPECT_FALSE(frame.used || frame.padLost);

    source.pads[0] = raw({PadState::a}, 0);
    frame = input.poll(0.1);
    EXPECT_EQ(frame.messages, (Texts{"Game controller 1 connected: Pad?9",
                                     "Game controller 1 has no mapping: axis 0 steers, buttons 0 to 3 are A, B, X, Y"}));
    EXPECT_TRUE(input.controls().has(PlayerControls::throttle));
    EXPECT_TRUE(input.poll(0.2).messages.empty());

    source.pads[2] = PadState();
    frame = input.poll(0.3);
    EXPECT_EQ(frame.messages, Texts{"Game controller 3 disconnected: Pad?9"});
    EXPECT_TRUE(frame.padLost);
    EXPECT_FALSE(frame.used);
    EXPECT_FALSE(input.poll(0.4).padLost);
    source.pads[0] = raw({PadState::a}, -0.9f);
    EXPECT_TRUE(input.poll(0.5).used);
}
