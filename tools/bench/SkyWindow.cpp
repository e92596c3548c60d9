// The start-up benchmark's yardstick: the game's window with nothing in it. Opens the window as the
// game does (the same buffers, full screen on the primary monitor) and clears it to the game's sky
// colour every frame until it is stopped. Its time to the first frame is what the windowing system
// and the OpenGL driver cost on the machine at that moment, whatever the game does.
#include <GLFW/glfw3.h>

int main() {
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    GLFWwindow* window = glfwCreateWindow(1024, 768, "Vorbel Race", glfwGetPrimaryMonitor(), nullptr);
    if (!window) {
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);
    glClearColor(0.132f, 0.522f, 0.948f, 0.0f);
    while (!glfwWindowShouldClose(window) && glfwGetKey(window, GLFW_KEY_ESCAPE) != GLFW_PRESS) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwPollEvents();
    }
    glfwTerminate();
    return 0;
}
