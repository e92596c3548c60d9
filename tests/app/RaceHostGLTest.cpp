#include <gtest/gtest.h>

#include "app/RaceHost.h"
#include "game/Game.h"
#include "game/RaceSettings.h"
#include "input/PadInput.h"
#include "replay/GhostPath.h"
#include "replay/ReplaySession.h"
#include "support/GLTestWindow.h"

namespace {

struct OnePad : PadSource {
    PadState read(int slot) override { return slot == 0 ? pad : PadState(); }
    std::string name(int) override { return "Pad"; }
    PadState pad;
};

}  // namespace

// The pads' controls join the keyboard's: B brakes while no key is down.
TEST(RaceHostGL, PadsDriveBesideTheKeyboard) {
    GLTestWindow window;
    OnePad source;
    source.pad.layout = PadState::Layout::gamepad;
    source.pad.buttons[PadState::b] = true;
    PadInput pads(source);
    pads.poll(0);
    RaceHost host{RaceSettings(), GhostPath()};
    ReplaySession replays(-1, "", "");
    host.attach(window.window, nullptr, window.media.prefix(), replays, &pads);
    EXPECT_EQ(host.game().readControls().flags, PlayerControls::brake);
}
