#include "app/KeyListener.h"

#include <GLFW/glfw3.h>

void KeyListener::listen(GLFWwindow* window, KeyListener* listener) {
    glfwSetWindowUserPointer(window, listener);
    glfwSetKeyCallback(window, [](GLFWwindow* source, int key, int, int action, int) {
        static_cast<KeyListener*>(glfwGetWindowUserPointer(source))->keyEvent(key, action);
    });
}
