#include "support/ImageChecks.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "support/GLTestWindow.h"

namespace {

const int whiteLevel = 250;

size_t offset(int x, int y) { return (static_cast<size_t>(y) * GLTestWindow::width + x) * 3; }

PixelBounds findPixels(const std::vector<uint8_t>& image, const PixelArea& area,
                       const std::function<bool(const Rgb&)>& wanted) {
    PixelBounds bounds;
    for (int y = std::max(area.y0, 0); y < std::min(area.y1, GLTestWindow::height); ++y) {
        for (int x = std::max(area.x0, 0); x < std::min(area.x1, GLTestWindow::width); ++x) {
            if (!wanted(pixelAt(image, x, y))) continue;
            if (bounds.count == 0) {
                bounds.minX = bounds.maxX = x;
                bounds.minY = bounds.maxY = y;
            }
            ++bounds.count;
            bounds.minX = std::min(bounds.minX, x);
            bounds.maxX = std::max(bounds.maxX, x);
            bounds.minY = std::min(bounds.minY, y);
            bounds.maxY = std::max(bounds.maxY, y);
        }
    }
    return bounds;
}

}  // namespace

Rgb pixelAt(const std::vector<uint8_t>& image, int x, int y) {
    const size_t at = offset(x, y);
    return {image[at], image[at + 1], image[at + 2]};
}

int largestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int largest = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

PixelBounds whitePixels(const std::vector<uint8_t>& image, const PixelArea& area) {
    return findPixels(image, area, [](const Rgb& p) {
        return p.r >= whiteLevel && p.g >= whiteLevel && p.b >= whiteLevel;
    });
}

PixelBounds pixelsUnlike(const std::vector<uint8_t>& image, const PixelArea& area, const Rgb& colour,
                         int tolerance) {
    return findPixels(image, area, [&](const Rgb& p) {
        return std::abs(p.r - colour.r) > tolerance || std::abs(p.g - colour.g) > tolerance ||
               std::abs(p.b - colour.b) > tolerance;
    });
}

ChannelRange redRange(const std::vector<uint8_t>& image, const PixelArea& area) {
    ChannelRange range;
    findPixels(image, area, [&](const Rgb& p) {
        range.low = std::min(range.low, p.r);
        range.high = std::max(range.high, p.r);
        return false;
    });
    return range;
}
