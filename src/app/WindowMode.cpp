#include "app/WindowMode.h"

#include <GLFW/glfw3.h>

namespace {

const int windowWidthPixels = 1024;
const int windowHeightPixels = 768;
const char* const title = "Vorbel Race";

GLFWwindow* open(int width, int height, GLFWmonitor* monitor) {
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    GLFWwindow* window = glfwCreateWindow(width, height, title, monitor, nullptr);
    if (window) glfwMakeContextCurrent(window);
    return window;
}

}  // namespace

GLFWwindow* openWindow() { return open(windowWidthPixels, windowHeightPixels, glfwGetPrimaryMonitor()); }

GLFWwindow* openChosenWindow(bool fullScreen) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!fullScreen || !mode) return open(windowWidthPixels, windowHeightPixels, nullptr);
    glfwWindowHint(GLFW_REFRESH_RATE, mode->refreshRate);
    return open(mode->width, mode->height, monitor);
}

bool isFullScreen(GLFWwindow* window) { return glfwGetWindowMonitor(window) != nullptr; }

void setFullScreen(GLFWwindow* window, bool fullScreen) {
    if (fullScreen == isFullScreen(window)) return;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!mode) return;
    if (fullScreen) {
        glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    } else {
        // In the middle of the screen, as far as the screen is larger.
        const int x = mode->width > windowWidthPixels ? (mode->width - windowWidthPixels) / 2 : 0;
        const int y = mode->height > windowHeightPixels ? (mode->height - windowHeightPixels) / 2 : 0;
        glfwSetWindowMonitor(window, nullptr, x, y, windowWidthPixels, windowHeightPixels, GLFW_DONT_CARE);
    }
}
