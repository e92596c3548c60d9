#include "TrackLayout.h"

#include <algorithm>
#include <cmath>

#include "PortableMath.h"

namespace {

const double pi = 3.14159265358979323846;
const double degree = pi / 180;

// Bank eases in and out over this distance on each side of an arc's ends.
const double bankRamp = 25.0;
// Samples per lap when the centre line is measured.
const int centringSamples = 2000;

Vec3 horizontalDirection(double heading) { return {portable::sin(heading), 0, portable::cos(heading)}; }
Vec3 horizontalLeft(double heading) { return {portable::cos(heading), 0, -portable::sin(heading)}; }

double smoothStep(double x) {
    x = std::max(0.0, std::min(1.0, x));
    return x * x * (3 - 2 * x);
}

}  // namespace

TrackLayout::TrackLayout(std::vector<TrackPiece> laid) : pieces(std::move(laid)) {
    for (TrackPiece& piece : pieces) {
        if (piece.radius > 0) piece.length = piece.radius * std::fabs(piece.turnDegrees) * degree;
    }
    closingGap = placePieces().length();
    heightKeys = {{0, baseHeight}, {total, baseHeight}};
    centreOnOrigin();
}

void TrackLayout::setHeights(std::vector<HeightKey> keys) { heightKeys = std::move(keys); }

Vec3 TrackLayout::placePieces() {
    starts.clear();
    positions.clear();
    headings.clear();
    double s = 0, heading = 0;
    Vec3 position;
    for (const TrackPiece& piece : pieces) {
        starts.push_back(s);
        positions.push_back(position);
        headings.push_back(heading);
        if (piece.radius > 0) {
            const double turn = piece.turnDegrees * degree;
            const double side = turn > 0 ? 1 : -1;
            const Vec3 centre = position + horizontalLeft(heading) * (piece.radius * side);
            heading += turn;
            position = centre - horizontalLeft(heading) * (piece.radius * side);
        } else {
            position += horizontalDirection(heading) * piece.length;
        }
        s += piece.length;
    }
    total = s;
    endHeading = heading;
    return position;
}

void TrackLayout::closeLoop(int firstFree, int secondFree) {
    // The end point is linear in the two free lengths: solve for the lengths that bring it back
    // to the start.
    pieces[firstFree].length = pieces[secondFree].length = 0;
    const Vec3 base = placePieces();
    pieces[firstFree].length = 1;
    const Vec3 first = placePieces() - base;
    pieces[firstFree].length = 0;
    pieces[secondFree].length = 1;
    const Vec3 second = placePieces() - base;
    const double determinant = first.x * second.z - first.z * second.x;
    pieces[firstFree].length = (-base.x * second.z + base.z * second.x) / determinant;
    pieces[secondFree].length = (-first.x * base.z + first.z * base.x) / determinant;
    closingGap = placePieces().length();
    heightKeys = {{0, baseHeight}, {total, baseHeight}};
    centreOnOrigin();
}

bool TrackLayout::isClosed() const {
    for (const TrackPiece& piece : pieces) {
        if (piece.length <= 0) return false;
    }
    return closingGap < 1e-6 && std::fabs(std::remainder(endHeading, 2 * pi)) < 1e-9;
}

void TrackLayout::centreOnOrigin() {
    offset = Vec3();
    double minX = 1e30, maxX = -1e30, minZ = 1e30, maxZ = -1e30;
    for (int i = 0; i < centringSamples; ++i) {
        const Vec3 p = frameAt(total * i / centringSamples).centre;
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minZ = std::min(minZ, p.z);
        maxZ = std::max(maxZ, p.z);
    }
    // Whole units keep the numbers in the files short.
    offset = {-std::round((minX + maxX) / 2), 0, -std::round((minZ + maxZ) / 2)};
}

double TrackLayout::wrap(double s) const {
    s = std::fmod(s, total);
    return s < 0 ? s + total : s;
}

int TrackLayout::pieceAt(double s) const {
    const auto after = std::upper_bound(starts.begin(), starts.end(), s);
    return static_cast<int>(after - starts.begin()) - 1;
}

double TrackLayout::heightAt(double s) const {
    s = wrap(s);
    for (size_t k = 0; k + 1 < heightKeys.size(); ++k) {
        const HeightKey& from = heightKeys[k];
        const HeightKey& to = heightKeys[k + 1];
        if (s > to.s) continue;
        const double t = (s - from.s) / (to.s - from.s);
        return from.height + (to.height - from.height) * (1 - portable::cos(pi * t)) / 2;
    }
    return heightKeys.back().height;
}

double TrackLayout::slopeAt(double s) const {
    s = wrap(s);
    for (size_t k = 0; k + 1 < heightKeys.size(); ++k) {
        const HeightKey& from = heightKeys[k];
        const HeightKey& to = heightKeys[k + 1];
        if (s > to.s) continue;
        const double span = to.s - from.s;
        return (to.height - from.height) * pi / (2 * span) * portable::sin(pi * (s - from.s) / span);
    }
    return 0;
}

double TrackLayout::bankAt(double s) const {
    s = wrap(s);
    double bank = 0;
    for (int i = 0; i < pieceCount(); ++i) {
        const TrackPiece& piece = pieces[i];
        if (piece.radius <= 0) continue;
        const double begin = starts[i], end = starts[i] + piece.length;
        const double weight =
            smoothStep((s - begin + bankRamp) / (2 * bankRamp)) * smoothStep((end + bankRamp - s) / (2 * bankRamp));
        bank += weight * piece.bankDegrees * degree * (piece.turnDegrees > 0 ? 1 : -1);
    }
    return bank;
}

TrackFrame TrackLayout::frameAt(double s) const {
    s = wrap(s);
    const int index = pieceAt(s);
    const TrackPiece& piece = pieces[index];
    const double along = s - starts[index];
    double heading = headings[index];
    Vec3 position;
    if (piece.radius > 0) {
        const double side = piece.turnDegrees > 0 ? 1 : -1;
        const Vec3 centre = positions[index] + horizontalLeft(heading) * (piece.radius * side);
        heading += side * along / piece.radius;
        position = centre - horizontalLeft(heading) * (piece.radius * side);
    } else {
        position = positions[index] + horizontalDirection(heading) * along;
    }
    TrackFrame frame;
    frame.heading = heading;
    frame.bank = bankAt(s);
    frame.centre = position + offset + Vec3(0, heightAt(s), 0);
    frame.forward = (horizontalDirection(heading) + Vec3(0, slopeAt(s), 0)).normalized();
    frame.left = horizontalLeft(heading);
    const Vec3 across = frame.left + Vec3(0, -portable::tan(frame.bank), 0);
    frame.up = frame.forward.cross(across).normalized();
    return frame;
}

Vec3 TrackLayout::surfacePoint(double s, double lateral) const {
    const TrackFrame frame = frameAt(s);
    return frame.centre + frame.left * lateral + Vec3(0, -lateral * portable::tan(frame.bank), 0);
}

std::vector<double> TrackLayout::checkpointStations() const {
    std::vector<double> stations;
    const int last = pieceCount() - 1;
    for (int i = 0; i <= last; ++i) {
        const double spacing = pieces[i].radius > 0 ? curveSpacing : straightSpacing;
        // The grid straight ends with one long segment that holds the whole starting grid.
        const double span = pieces[i].length - (i == last ? gridSegment : 0);
        const int parts = std::max(1, static_cast<int>(std::ceil(span / spacing - 1e-9)));
        for (int k = 0; k < parts; ++k) {
            const double s = starts[i] + span * k / parts;
            if (stations.empty() || s - stations.back() >= shortestSegment) stations.push_back(s);
        }
        if (i == last) stations.push_back(total - gridSegment);
    }
    return stations;
}

double TrackLayout::smallestRadius() const {
    double smallest = 1e30;
    for (const TrackPiece& piece : pieces) {
        if (piece.radius > 0) smallest = std::min(smallest, piece.radius);
    }
    return smallest;
}

int TrackLayout::curveCount() const {
    return static_cast<int>(
        std::count_if(pieces.begin(), pieces.end(), [](const TrackPiece& piece) { return piece.radius > 0; }));
}

double TrackLayout::totalTurnDegrees() const {
    double turn = 0;
    for (const TrackPiece& piece : pieces) turn += std::fabs(piece.turnDegrees);
    return turn;
}

double TrackLayout::heightRange() const {
    double low = 1e30, high = -1e30;
    for (double s = 0; s < total; s += 1) {
        low = std::min(low, heightAt(s));
        high = std::max(high, heightAt(s));
    }
    return high - low;
}

double TrackLayout::steepestSlopeDegrees() const {
    double steepest = 0;
    for (double s = 0; s < total; s += 1) steepest = std::max(steepest, std::fabs(portable::atan(slopeAt(s))));
    return steepest / degree;
}

double TrackLayout::steepestBankDegrees() const {
    double steepest = 0;
    for (double s = 0; s < total; s += 1) steepest = std::max(steepest, std::fabs(bankAt(s)));
    return steepest / degree;
}
