#include "CircuitMap.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "Circuit.h"
#include "PixelFont.h"
#include "TrackBuilder.h"

namespace {

const double margin = 8;          // pixels round the circuit in its tile
const double stampSpacing = 1.5;  // units along the lap between the round stamps that draw the road
const double fieldLaterals[] = {-13.5, -4.5, 4.5, 13.5};
const Color sheetBackground{0.12, 0.12, 0.14};
const Color white{0.97, 0.97, 0.97};
const Color checkpointColour{0.08, 0.08, 0.1};
const double lowRoad = 0.3;  // grey of the lowest road; the highest is this plus roadRise
const double roadRise = 0.3;
// Marks, in pixels.
const double startLineRadius = 1.6;
const double fieldRadius = 1.5;
const double checkpointRadius = 0.8;
const int labelSize = 3;  // pixels per font pixel
const int labelInset = 6;

// A stamp's neighbours along the lap come no closer than this share of its radius: the edge of the
// band they draw then strays from a smooth one by less than a hundredth of the radius, and a wide
// band takes a few hundred stamps instead of thousands.
const double stampOverlap = 0.35;

// The centre line every stampSpacing units, with how far the track reaches out there.
struct Sample {
    Vec3 centre;
    double reach;
};

std::vector<Sample> sampleLap(const Circuit& circuit) {
    const TrackBuilder track(circuit);
    std::vector<Sample> samples;
    for (double s = 0; s < circuit.layout.length(); s += stampSpacing) {
        samples.push_back({circuit.layout.frameAt(s).centre, track.reach(s)});
    }
    return samples;
}

// The horizontal box the circuit's embankments cover, in world units.
Bounds reachBounds(const std::vector<Sample>& samples) {
    Bounds box;
    for (const Sample& sample : samples) {
        box.add({sample.centre.x - sample.reach, 0, sample.centre.z - sample.reach});
        box.add({sample.centre.x + sample.reach, 0, sample.centre.z + sample.reach});
    }
    return box;
}

}  // namespace

Image CircuitMap::sheet(const std::vector<Circuit>& circuits, int columns, int tileSize) {
    const int rows = (static_cast<int>(circuits.size()) + columns - 1) / columns;
    Image image(columns * tileSize, rows * tileSize);
    image.fillRect(0, 0, image.getWidth(), image.getHeight(), sheetBackground);
    double largest = 1;
    for (const Circuit& circuit : circuits) {
        const Vec3 size = reachBounds(sampleLap(circuit)).size();
        largest = std::max(largest, std::max(size.x, size.z));
    }
    const double scale = (tileSize - 2 * margin) / largest;
    for (size_t i = 0; i < circuits.size(); ++i) {
        const int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        drawTile(image, circuits[i], column * tileSize, (rows - 1 - row) * tileSize, tileSize, scale);
    }
    return image;
}

void CircuitMap::drawTile(Image& image, const Circuit& circuit, int left, int bottom, int tileSize, double scale) {
    const TrackLayout& layout = circuit.layout;
    const TrackBuilder track(circuit);
    const CircuitLook& look = circuit.look;
    const std::vector<Sample> samples = sampleLap(circuit);
    image.fillRect(left + 1, bottom + 1, left + tileSize - 1, bottom + tileSize - 1, look.grassLush);
    // Seen from above with +X to the right, +Z runs down the picture.
    const Vec3 middle = reachBounds(samples).centre();
    auto pixelX = [&](const Vec3& p) { return left + tileSize / 2.0 + (p.x - middle.x) * scale; };
    auto pixelY = [&](const Vec3& p) { return bottom + tileSize / 2.0 - (p.z - middle.z) * scale; };
    auto stamp = [&](const Vec3& p, double radius, const Color& colour) {
        image.fillCircle(pixelX(p), pixelY(p), std::max(radius, 0.7), colour);
    };
    // Stamps of the given radius in world units along the lap, the last one closing the band.
    auto band = [&](const std::function<double(const Sample&)>& radius,
                    const std::function<Color(const Sample&)>& colour) {
        for (size_t i = 0; i < samples.size();) {
            const double r = radius(samples[i]);
            stamp(samples[i].centre, r * scale, colour(samples[i]));
            i += std::max<size_t>(1, static_cast<size_t>(stampOverlap * r / stampSpacing));
        }
        stamp(samples.back().centre, radius(samples.back()) * scale, colour(samples.back()));
    };

    double lowest = 1e30, highest = -1e30;
    for (const Sample& sample : samples) {
        lowest = std::min(lowest, sample.centre.y);
        highest = std::max(highest, sample.centre.y);
    }
    const double wall = TrackBuilder::halfWidth + TrackBuilder::wallThickness;
    band([](const Sample& sample) { return sample.reach; }, [&](const Sample&) { return look.grassDark; });
    band([&](const Sample&) { return wall; }, [&](const Sample&) { return look.barrierPanel; });
    band([](const Sample&) { return TrackBuilder::halfWidth; },
         [&](const Sample& sample) {
             const double height = highest > lowest ? (sample.centre.y - lowest) / (highest - lowest) : 0;
             const double grey = lowRoad + roadRise * height;
             return Color{grey, grey, grey};
         });
    const double pixel = 1 / scale;
    for (double lateral = -TrackBuilder::halfWidth; lateral <= TrackBuilder::halfWidth; lateral += pixel) {
        stamp(layout.surfacePoint(0, lateral), startLineRadius, white);
    }
    for (size_t row = 0; row < circuit.itemRows.size(); ++row) {
        for (size_t k = 0; k < 4; ++k) {
            stamp(layout.surfacePoint(circuit.itemRows[row], fieldLaterals[k]), fieldRadius, Color::hue(k / 4.0, 0.9));
        }
    }
    for (const Vec3& checkpoint : track.checkpoints()) stamp(checkpoint, checkpointRadius, checkpointColour);

    const std::string label = std::to_string(circuit.number);
    // White on a dark plate, which reads on every ground.
    const int plate = bottom + tileSize - 2 * labelInset - PixelFont::glyphHeight * labelSize;
    image.fillRect(left + 1, plate, left + 2 * labelInset + PixelFont::width(label, labelSize),
                   bottom + tileSize - 1, sheetBackground);
    PixelFont::draw(image, label, left + labelInset, plate + labelInset, labelSize, white);
}
