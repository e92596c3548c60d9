#pragma once

#include <functional>

#include "game/PlayerControls.h"

// The player's controls from the keyboard: arrows, Left Ctrl, Space with Left Alt, R G T S F, E and
// Enter, and the computer drivers held while A has switched them off.
class KeyboardControls {
public:
    // `keyDown` answers whether a key (GLFW key code) is down, as the window's sticky keys tell it.
    explicit KeyboardControls(std::function<bool(int)> keyDown) : keyDown(std::move(keyDown)) {}

    // Reads every key, once per sub-step, whether or not it matters now: a sticky key released after
    // it was read while down is read once more, whenever that is, so an E held past the end of the
    // race would end the next one at once and an Enter held over the restart would skip the next
    // ranking. Left Alt is read with the others, so only a press current with Space throws
    // backwards: a sticky tap (or an Alt-Tab) long before is used up by then.
    PlayerControls read() const;

private:
    std::function<bool(int)> keyDown;
};
