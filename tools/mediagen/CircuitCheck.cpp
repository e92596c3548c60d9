#include "CircuitCheck.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Circuit.h"
#include "NumberFormat.h"
#include "PortableMath.h"
#include "TrackBuilder.h"

namespace {

const double pi = 3.14159265358979323846;
const double degree = pi / 180;
const double sampleSpacing = 5.0;   // along the lap, for the approach and crest checks
const double crestBaseline = 10.0;  // either side of a point, for the road's vertical curvature

Vec3 horizontal(const Vec3& v) { return {v.x, 0, v.z}; }

std::string at(double s) { return " at " + formatNumber(s, 0); }

std::string curveProblem(const TrackLayout& layout) {
    double bend = 0, straight = 0;
    int side = 0;
    for (int i = 0; i < 2 * layout.pieceCount(); ++i) {
        // Twice round, so a bend through the start line counts whole.
        const TrackPiece& piece = layout.piece(i % layout.pieceCount());
        if (piece.radius <= 0) {
            straight += piece.length;
            if (straight >= CircuitCheck::driftResetStraight) bend = 0;
            continue;
        }
        if (piece.radius < CircuitCheck::tightestRadius) return "a curve of radius " + formatNumber(piece.radius, 1);
        const int turnSide = piece.turnDegrees > 0 ? 1 : -1;
        bend = turnSide == side ? bend + std::fabs(piece.turnDegrees) : std::fabs(piece.turnDegrees);
        side = turnSide;
        straight = 0;
        if (bend > CircuitCheck::longestBendDegrees) return "a bend of " + formatNumber(bend, 0) + " degrees";
    }
    return "";
}

std::string profileProblem(const TrackLayout& layout) {
    if (layout.steepestSlopeDegrees() > CircuitCheck::steepestSlopeDegrees) return "a slope too steep";
    if (layout.steepestBankDegrees() > CircuitCheck::steepestBankDegrees) return "a bank too steep";
    const double speedSquared = CircuitCheck::fullSpeed * CircuitCheck::fullSpeed;
    const double w = TrackBuilder::halfWidth;
    for (double s = 0; s < layout.length(); s += sampleSpacing) {
        const double before = layout.frameAt(s - crestBaseline).centre.y,
                     after = layout.frameAt(s + crestBaseline).centre.y;
        const double curvature = (before + after - 2 * layout.frameAt(s).centre.y) / (crestBaseline * crestBaseline);
        if (-curvature * speedSquared > CircuitCheck::crestLift) return "a crest karts would fly over" + at(s);
        if (std::min(layout.surfacePoint(s, w).y, layout.surfacePoint(s, -w).y) < CircuitCheck::lowestRoadEdge) {
            return "a road edge at the ground" + at(s);
        }
    }
    return "";
}

// Points of the centre line far apart along the lap keep their road, walls and embankments apart.
std::string approachProblem(const TrackLayout& layout, const TrackBuilder& track) {
    std::vector<double> distances, reaches;
    std::vector<Vec3> points;
    for (double s = 0; s < layout.length(); s += sampleSpacing) {
        distances.push_back(s);
        points.push_back(horizontal(layout.frameAt(s).centre));
        reaches.push_back(track.reach(s));
    }
    const double roadWidth = 2 * TrackBuilder::halfWidth;
    for (size_t i = 0; i < points.size(); ++i) {
        for (size_t j = i + 1; j < points.size(); ++j) {
            // Road edges a road width apart, and the embankments' feet apart.
            const double needed = std::max(2 * roadWidth, reaches[i] + reaches[j]);
            const double along = std::min(distances[j] - distances[i], layout.length() - distances[j] + distances[i]);
            // Nearer along the lap than this, a curve no tighter than its own radius keeps them apart.
            if (along < needed * pi / 2) continue;
            if ((points[i] - points[j]).length() < needed) {
                return "parts" + at(distances[i]) + " and" + at(distances[j]) + " too near";
            }
        }
    }
    return "";
}

std::string courseProblem(const TrackLayout& layout, const TrackBuilder& track) {
    const std::vector<Vec3> points = track.checkpoints();
    double length = 0;
    const double sharpestBendCosine = portable::cos(CircuitCheck::sharpestCheckpointBendDegrees * degree);
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec3 d = points[(i + 1) % points.size()] - points[i];
        const Vec3 next = points[(i + 2) % points.size()] - points[(i + 1) % points.size()];
        length += d.length();
        if (d.normalized().dot(next.normalized()) < sharpestBendCosine) {
            return "a sharp bend in the course" + at(layout.checkpointStations()[(i + 1) % points.size()]);
        }
    }
    if (length < CircuitCheck::shortestLap || length > CircuitCheck::longestLap) {
        return "a course " + formatNumber(length, 0) + " units long";
    }
    return "";
}

}  // namespace

std::string CircuitCheck::problem(const Circuit& circuit) {
    const TrackLayout& layout = circuit.layout;
    if (!layout.isClosed()) return "pieces that do not close into a loop";
    const TrackPiece& first = layout.piece(0);
    const TrackPiece& last = layout.piece(layout.pieceCount() - 1);
    if (first.radius > 0 || first.length < shortestStartStraight) return "a start straight too short";
    if (last.radius > 0 || last.length < shortestGridStraight) return "a grid straight too short";
    if (static_cast<int>(circuit.itemRows.size()) < fewestItemRows) return "too few rows of pick-up fields";
    if (static_cast<int>(circuit.looseObjects.size()) < fewestLooseObjects) return "too few loose objects";
    const TrackBuilder track(circuit);
    std::string problem = curveProblem(layout);
    if (problem.empty()) problem = profileProblem(layout);
    if (problem.empty()) problem = courseProblem(layout, track);
    if (problem.empty()) problem = approachProblem(layout, track);
    // An embankment higher than a tight curve is wide folds over inside it.
    if (problem.empty() && track.build().faultyTriangles() > 0) problem = "a track mesh folding over itself";
    return problem;
}
