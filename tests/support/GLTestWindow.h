#pragma once

#include <cstdint>
#include <vector>

#include "support/TestMedia.h"

struct GLFWwindow;

// A 1024x768 window with an OpenGL context (GLEW and the bitmap font ready) and test media with
// the process-wide libraries started; for drawing tests under Xvfb.
class GLTestWindow {
public:
    GLTestWindow();
    ~GLTestWindow();

    // What has been drawn so far (the window is single-buffered, so also after a buffer swap): the
    // whole window, RGB rows from the bottom.
    std::vector<uint8_t> image() const;

    static constexpr int width = 1024;
    static constexpr int height = 768;

    TestMedia media;
    GLFWwindow* window;
};
