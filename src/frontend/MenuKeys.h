#pragma once

#include <optional>

#include "frontend/MenuAction.h"

// The keyboard's menu actions: arrows, Enter, Escape, the digits of both rows, Backspace and R.
class MenuKeys {
public:
    // The action of a GLFW key event, if it has one. Held keys repeat as in typing, except Enter,
    // Escape and R: a held Enter must not start a race twice.
    static std::optional<MenuAction> action(int key, int keyAction);
};
