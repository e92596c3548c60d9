#include "game/Window.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {
int width = 1024;
int height = 768;
}  // namespace

int windowWidth() { return width; }

int windowHeight() { return height; }

void onWindowResize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight < 1 ? 1 : newHeight;
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfViewDegrees, static_cast<double>(width) / height, nearPlaneDistance, farPlaneDistance);
    glMatrixMode(GL_MODELVIEW);
}
