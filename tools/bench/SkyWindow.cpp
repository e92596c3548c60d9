// The start-up benchmark's yardstick: the game's window with nothing in it, opened by the game's own
// code, with the game's libraries loaded, and cleared to the game's sky colour every frame until it
// is stopped. Its time to the first frame is what the windowing system and the OpenGL driver cost on
// the machine at that moment, whatever the game does.
#include <GLFW/glfw3.h>

#include "app/WindowMode.h"

int main() {
    if (!glfwInit()) return 1;
    GLFWwindow* window = openWindow();
    if (!window) {
        glfwTerminate();
        return 1;
    }
    glClearColor(0.132f, 0.522f, 0.948f, 0.0f);
    while (!glfwWindowShouldClose(window) && glfwGetKey(window, GLFW_KEY_ESCAPE) != GLFW_PRESS) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwPollEvents();
    }
    glfwTerminate();
    return 0;
}
