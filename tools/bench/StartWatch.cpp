#include "StartWatch.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include <X11/Xutil.h>

#include "Circuit.h"

namespace {

// The game clears to this sky colour (0.132, 0.522, 0.948); the top row of the first frame is sky
// wherever no tree or banner reaches it.
const ScreenColour sky = {34, 133, 242};
const int colourTolerance = 6;
const int probes = 9;  // pixels across the top row

ScreenColour colourOf(unsigned long pixel) {
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

}  // namespace

bool ScreenColour::near(const ScreenColour& other, int tolerance) const {
    return std::abs(r - other.r) <= tolerance && std::abs(g - other.g) <= tolerance &&
           std::abs(b - other.b) <= tolerance;
}

ScreenColour screenColour(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return {-1, -1, -1};
    const ScreenColour colour = colourOf(XGetPixel(image, 0, 0));
    XDestroyImage(image);
    return colour;
}

bool showsSky(Display* display) {
    const int width = DisplayWidth(display, DefaultScreen(display));
    XImage* row = XGetImage(display, DefaultRootWindow(display), 0, 0, width, 1, AllPlanes, ZPixmap);
    if (!row) return false;
    bool found = false;
    for (int k = 0; k < probes && !found; ++k) {
        found = colourOf(XGetPixel(row, (2 * k + 1) * width / (2 * probes), 0)).near(sky, colourTolerance);
    }
    XDestroyImage(row);
    return found;
}

std::optional<StartPlan> readStartPlan(int argc, char** argv, const char* program, const StartPlan& defaults) {
    StartPlan plan{argc > 1 ? std::max(1, std::atoi(argv[1])) : defaults.rounds, {}};
    for (int i = 2; i < argc; ++i) {
        const std::optional<int> number = Circuit::parseNumber(argv[i]);
        if (!number) {
            std::cerr << "usage: " << program << " [rounds] [circuit...]" << std::endl;
            return std::nullopt;
        }
        plan.circuits.push_back(*number);
    }
    if (plan.circuits.empty()) plan.circuits = defaults.circuits;
    return plan;
}
