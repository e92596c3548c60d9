#pragma once

struct GLFWwindow;

// Opens the game's window, 1024 x 768 full screen, and makes its context current; null when it cannot.
GLFWwindow* openWindow();
// Opens the window as the player chose it: full screen at the screen's own size, without switching
// its video mode, or a 1024 x 768 window. Null when it cannot.
GLFWwindow* openChosenWindow(bool fullScreen);
bool isFullScreen(GLFWwindow* window);
// Switches between the two ways of openChosenWindow, keeping the context and everything in it.
void setFullScreen(GLFWwindow* window, bool fullScreen);
