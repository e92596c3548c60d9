#include "frontend/MenuKeys.h"

#include <GLFW/glfw3.h>

std::optional<MenuAction> MenuKeys::action(int key, int keyAction) {
    if (keyAction == GLFW_RELEASE) return std::nullopt;
    if (key >= GLFW_KEY_0 && key <= GLFW_KEY_9) return MenuAction{MenuAction::digit, key - GLFW_KEY_0};
    if (key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9) return MenuAction{MenuAction::digit, key - GLFW_KEY_KP_0};
    const struct {
        int key;
        MenuAction::Kind kind;
        bool repeats;
    } keys[] = {{GLFW_KEY_UP, MenuAction::up, true},           {GLFW_KEY_DOWN, MenuAction::down, true},
                {GLFW_KEY_LEFT, MenuAction::left, true},       {GLFW_KEY_RIGHT, MenuAction::right, true},
                {GLFW_KEY_BACKSPACE, MenuAction::backspace, true}, {GLFW_KEY_ENTER, MenuAction::choose, false},
                {GLFW_KEY_KP_ENTER, MenuAction::choose, false},     {GLFW_KEY_ESCAPE, MenuAction::back, false},
                {'R', MenuAction::random, false}};
    for (const auto& entry : keys) {
        if (entry.key == key && (keyAction == GLFW_PRESS || entry.repeats)) return MenuAction{entry.kind};
    }
    return std::nullopt;
}
