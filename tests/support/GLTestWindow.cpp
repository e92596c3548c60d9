#include "support/GLTestWindow.h"

#include <stdexcept>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "game/BitmapText.h"
#include "game/RenderSettings.h"

GLTestWindow::GLTestWindow() {
    media.startLibraries();
    renderSettings = RenderSettings();
    if (!glfwInit()) throw std::runtime_error("glfwInit failed: is DISPLAY set?");
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    // Single-buffered: what a frame drew can still be read after its buffer swap.
    glfwWindowHint(GLFW_DOUBLEBUFFER, GLFW_FALSE);
    window = glfwCreateWindow(width, height, "Vorbel Race test", nullptr, nullptr);
    if (!window) throw std::runtime_error("no window");
    glfwMakeContextCurrent(window);
    // Let the window be mapped before anything is read back from it.
    for (int i = 0; i < 10; ++i) glfwPollEvents();
    glewInit();
    renderSettings.vertexBuffersSupported = GLEW_ARB_vertex_buffer_object;
    initBitmapFont();
}

GLTestWindow::~GLTestWindow() {
    glfwDestroyWindow(window);
    glfwTerminate();
}

std::vector<uint8_t> GLTestWindow::image() const {
    std::vector<uint8_t> image(static_cast<size_t>(width) * height * 3);
    glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    return image;
}
