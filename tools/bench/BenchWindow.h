#pragma once

struct GLFWwindow;

// A 1024x768 double-buffered window for drawing benchmarks, with GLEW ready and no wait for the
// display's refresh at a buffer swap. Needs an X display (run it under tests/with-xvfb.sh).
class BenchWindow {
public:
    BenchWindow();
    ~BenchWindow();
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    bool isOpen() const { return window != nullptr; }
    // Shows the frame drawn so far, as the game's frame loop does.
    void swap();

    static constexpr int width = 1024;
    static constexpr int height = 768;

private:
    GLFWwindow* window = nullptr;
};
