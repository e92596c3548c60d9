#include "game/BitmapText.h"

#include <GL/freeglut.h>

namespace {
bool fontReady = false;
}  // namespace

void initBitmapFont() {
    if (fontReady) return;
    // freeglut needs glutInit before its fonts work; the game reads no command line,
    // so it gets a fixed argument list.
    int argc = 1;
    char name[] = "vorbel-race";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    fontReady = true;
}

void drawBitmapText(const std::string& text) {
    if (!fontReady) return;
    for (char c : text) glutBitmapCharacter(GLUT_BITMAP_9_BY_15, static_cast<int>(static_cast<signed char>(c)));
}
