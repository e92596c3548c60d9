#pragma once

#include <cstdint>
#include <vector>

// Questions asked of an image read back from the test window (GLTestWindow::image(): RGB rows
// from the bottom, GLTestWindow::width pixels wide).

// A rectangle of window pixels, lower bounds included, upper bounds excluded.
struct PixelArea {
    int x0, y0, x1, y1;
};

// Where the pixels that passed a test lie; count 0 leaves the bounds meaningless.
struct PixelBounds {
    int count = 0;
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
};

struct Rgb {
    int r, g, b;
};

// The clear colour of Game::initGL in 8-bit channels.
constexpr Rgb skyColour = {34, 133, 242};

// Largest difference of one colour channel between two images of the window's size.
int largestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
// Text drawn in white: every channel at least 250.
PixelBounds whitePixels(const std::vector<uint8_t>& image, const PixelArea& area);
// Pixels whose colour differs from `colour` by more than `tolerance` in some channel.
PixelBounds pixelsUnlike(const std::vector<uint8_t>& image, const PixelArea& area, const Rgb& colour, int tolerance);
Rgb pixelAt(const std::vector<uint8_t>& image, int x, int y);
// The lowest and highest red channel within the area: shading across a surface, text that fades.
struct ChannelRange {
    int low = 255, high = 0;
};
ChannelRange redRange(const std::vector<uint8_t>& image, const PixelArea& area);
