#include "GameIcon.h"

#include <cmath>

namespace {

const int samplesPerSide = 4;  // per pixel and axis
const Color grassLow{0.16, 0.46, 0.14};
const Color grassHigh{0.36, 0.68, 0.24};
const Color road{0.36, 0.37, 0.40};
const Color kerb{0.95, 0.95, 0.95};
const Color chequerDark{0.08, 0.08, 0.1};
const Color body{0.86, 0.12, 0.10};
const Color tyre{0.07, 0.07, 0.08};
const Color driver{0.98, 0.82, 0.16};
// The road loop: an ellipse round the centre, half-axes in icon widths, and its half-width as a share
// of the ellipse's normalised radius.
const double loopHalfX = 0.38;
const double loopHalfY = 0.30;
const double roadHalfWidth = 0.26;
const double kerbWidth = 0.05;
const double startLineHalfWidth = 0.035;  // in icon widths, across the top of the loop
const int chequerRows = 4;
// The kart on the bottom of the loop, facing left.
const double kartX = 0.52;
const double kartY = 0.5 - loopHalfY;
const double bodyHalfLength = 0.17;
const double bodyHalfWidth = 0.075;
const double tyreHalfLength = 0.045;
const double tyreHalfWidth = 0.035;
const double axleOffset = 0.11;
const double driverRadius = 0.05;

bool inBox(double x, double y, double cx, double cy, double halfX, double halfY) {
    return std::fabs(x - cx) <= halfX && std::fabs(y - cy) <= halfY;
}

}  // namespace

Image GameIcon::draw(int size) {
    Image image(size, size);
    const int samples = samplesPerSide * samplesPerSide;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Color sum;
            for (int s = 0; s < samples; ++s) {
                const double x = (px + (s % samplesPerSide + 0.5) / samplesPerSide) / size;
                const double y = (py + (s / samplesPerSide + 0.5) / samplesPerSide) / size;
                sum = sum + at(x, y);
            }
            image.set(px, py, sum * (1.0 / samples));
        }
    }
    return image;
}

Color GameIcon::at(double x, double y) {
    const double dx = x - kartX, dy = y - kartY;
    if (std::hypot(dx - axleOffset * 0.2, dy) <= driverRadius) return driver;
    if (inBox(x, y, kartX, kartY, bodyHalfLength, bodyHalfWidth)) return body;
    for (const double ax : {-axleOffset, axleOffset}) {
        for (const double side : {-1.0, 1.0}) {
            if (inBox(x, y, kartX + ax, kartY + side * (bodyHalfWidth + tyreHalfWidth * 0.6), tyreHalfLength,
                      tyreHalfWidth))
                return tyre;
        }
    }
    const double radius = std::hypot((x - 0.5) / loopHalfX, (y - 0.5) / loopHalfY);
    const double offRoad = std::fabs(radius - 1);
    if (offRoad <= roadHalfWidth) {
        if (y > 0.5 && std::fabs(x - 0.5) <= startLineHalfWidth) {
            const int row = static_cast<int>(std::floor((radius - 1 + roadHalfWidth) / (2 * roadHalfWidth) * chequerRows));
            const int column = x < 0.5 ? 0 : 1;
            return (row + column) % 2 == 0 ? kerb : chequerDark;
        }
        return offRoad > roadHalfWidth - kerbWidth ? kerb : road;
    }
    return grassLow.mix(grassHigh, y);
}
