#pragma once

#include <optional>
#include <vector>

#include <X11/Xlib.h>

// What the benchmarks that time the game's starts from outside share: a look at the X screen.

// The colour at (x, y) from the screen's top left, as red, green and blue bytes.
struct ScreenColour {
    int r, g, b;
    bool near(const ScreenColour& other, int tolerance) const;
};
ScreenColour screenColour(Display* display, int x, int y);
// Whether the game's sky shows in the top row of the screen: the race's first frame has come.
bool showsSky(Display* display);

// What both read from their command line, `[rounds] [circuit...]`.
struct StartPlan {
    int rounds;
    std::vector<int> circuits;
};
// The rounds (at least one) and circuits asked for, or the defaults; none, after the usage line on
// standard error, when an argument is not a circuit number.
std::optional<StartPlan> readStartPlan(int argc, char** argv, const char* program, const StartPlan& defaults);
