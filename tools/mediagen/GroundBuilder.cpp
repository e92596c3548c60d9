#include "GroundBuilder.h"

#include <cmath>
#include <vector>

#include "MediaNames.h"

namespace {

// Grid lines from -extent to +extent: evenly spaced between low and high, then ever wider apart.
std::vector<double> gridLines(double low, double high) {
    const int fine = static_cast<int>(std::ceil((high - low) / GroundBuilder::fineSpacing));
    std::vector<double> inner;
    for (int i = 0; i <= fine; ++i) inner.push_back(low + (high - low) * i / fine);
    std::vector<double> below, above;
    double step = GroundBuilder::fineSpacing * 1.5;
    for (double x = low - step;; x -= step, step *= 1.5) {
        if (x <= -GroundBuilder::extent) {
            below.push_back(-GroundBuilder::extent);
            break;
        }
        below.push_back(x);
    }
    step = GroundBuilder::fineSpacing * 1.5;
    for (double x = high + step;; x += step, step *= 1.5) {
        if (x >= GroundBuilder::extent) {
            above.push_back(GroundBuilder::extent);
            break;
        }
        above.push_back(x);
    }
    std::vector<double> lines(below.rbegin(), below.rend());
    lines.insert(lines.end(), inner.begin(), inner.end());
    lines.insert(lines.end(), above.begin(), above.end());
    return lines;
}

}  // namespace

GroundBuilder::GroundBuilder(const Bounds& detail) : detail(detail) {}

MeshBuilder GroundBuilder::build() const {
    const std::vector<double> xs = gridLines(std::floor(detail.min.x), std::ceil(detail.max.x));
    const std::vector<double> zs = gridLines(std::floor(detail.min.z), std::ceil(detail.max.z));
    MeshBuilder mesh;
    const int columns = static_cast<int>(xs.size());
    std::vector<int> index;
    for (double z : zs) {
        for (double x : xs)
            index.push_back(mesh.addVertex(material::grass, {{x, 0, z}, {0, 1, 0}, x / tile, z / tile}));
    }
    for (size_t j = 0; j + 1 < zs.size(); ++j) {
        for (int i = 0; i + 1 < columns; ++i) {
            const int a = index[j * columns + i], b = index[j * columns + i + 1];
            const int c = index[(j + 1) * columns + i + 1], d = index[(j + 1) * columns + i];
            // a, d, c, b turns from +z towards +x: counter-clockwise seen from above.
            mesh.addTriangle(material::grass, a, d, c);
            mesh.addTriangle(material::grass, a, c, b);
        }
    }
    return mesh;
}
