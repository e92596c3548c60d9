#pragma once

struct GLFWwindow;

// Hears the window's key events: the front end and the race loop in turn.
class KeyListener {
public:
    virtual ~KeyListener() = default;
    // A GLFW key code and GLFW_PRESS, GLFW_REPEAT or GLFW_RELEASE.
    virtual void keyEvent(int key, int action) = 0;

    // Sends the window's key events to `listener` from now on.
    static void listen(GLFWwindow* window, KeyListener* listener);
};
