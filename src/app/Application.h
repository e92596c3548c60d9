#pragma once

struct GameArguments;
struct GLFWwindow;

// Opens the game's full-screen window and makes its context current; null when it cannot.
GLFWwindow* openWindow();

// Runs the game until Escape or the window closes; returns the process exit status.
int runApplication(const GameArguments& arguments);
