#pragma once

#include <string>

// Draws characters of the 9x15 bitmap font from the current raster position on.
void drawBitmapText(const std::string& text);
// The font needs GLUT set up once after the window exists; without it nothing is drawn.
void initBitmapFont();
