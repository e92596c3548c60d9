#pragma once

// The game's clock in seconds: the window timer while a window runs, simulated time
// (advanced by the physics sub-steps) in runs without a window.
class GameClock {
public:
    static double now();
    static void useSimulatedTime(double start = 0.0);
    static void useWindowTimer();
    // Adds one physics sub-step to the simulated time; the window timer runs by itself.
    static void tick(double seconds);
};
