#pragma once

#include <functional>

// Key callback: each press of a function key or A toggles a render setting, M the sound.
void onKey(int key, int action);

// What M does: flips the sound on or off and returns whether it is now on. Unset, M does nothing.
void setSoundToggle(std::function<bool()> toggle);
