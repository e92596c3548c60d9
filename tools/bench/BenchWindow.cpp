#include "BenchWindow.h"

#include <iostream>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "game/RenderSettings.h"

BenchWindow::BenchWindow() {
    if (!glfwInit()) {
        std::cerr << "glfwInit failed: is DISPLAY set?" << std::endl;
        return;
    }
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    window = glfwCreateWindow(width, height, "Vorbel Race benchmark", nullptr, nullptr);
    if (!window) {
        std::cerr << "no window" << std::endl;
        return;
    }
    glfwMakeContextCurrent(window);
    glfwSwapInterval(0);  // measure drawing, not the refresh rate
    glewInit();
    renderSettings.vertexBuffersSupported = GLEW_ARB_vertex_buffer_object;
}

BenchWindow::~BenchWindow() {
    if (window) glfwDestroyWindow(window);
    glfwTerminate();
}

void BenchWindow::swap() {
    glfwSwapBuffers(window);
    glfwPollEvents();
}
