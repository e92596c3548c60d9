#include "game/GameClock.h"

#include <GLFW/glfw3.h>

namespace {
bool simulated = false;
double simulatedTime = 0.0;
}  // namespace

double GameClock::now() { return simulated ? simulatedTime : glfwGetTime(); }

void GameClock::useSimulatedTime(double start) {
    simulated = true;
    simulatedTime = start;
}

void GameClock::useWindowTimer() { simulated = false; }

void GameClock::tick(double seconds) {
    if (simulated) simulatedTime += seconds;
}
