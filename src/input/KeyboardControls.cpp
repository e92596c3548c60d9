#include "input/KeyboardControls.h"

#include <GLFW/glfw3.h>

#include "game/RenderSettings.h"

PlayerControls KeyboardControls::read() const {
    const struct {
        int key;
        PlayerControls::Flag flag;
    } keys[] = {{GLFW_KEY_LEFT, PlayerControls::steerLeft},  {GLFW_KEY_RIGHT, PlayerControls::steerRight},
                {GLFW_KEY_UP, PlayerControls::throttle},     {GLFW_KEY_DOWN, PlayerControls::brake},
                {GLFW_KEY_LEFT_CONTROL, PlayerControls::drift}, {GLFW_KEY_SPACE, PlayerControls::useItem},
                {GLFW_KEY_LEFT_ALT, PlayerControls::backwards}, {'R', PlayerControls::takeRedShell},
                {'G', PlayerControls::takeGreenShell},      {'T', PlayerControls::takeTurbo},
                {'S', PlayerControls::takeStar},            {'F', PlayerControls::takeFlash},
                {'E', PlayerControls::endRace},             {GLFW_KEY_ENTER, PlayerControls::restart}};
    PlayerControls controls;
    for (const auto& key : keys) controls.set(key.flag, keyDown && keyDown(key.key));
    // A switches the computer drivers in the key callback; the race hears of it with the controls.
    controls.set(PlayerControls::computersHeld, !renderSettings.aiDrivingEnabled);
    return controls;
}
