#pragma once

#include <vector>

#include "Vec3.h"

// One piece of the centre line: a straight (radius 0) or a circular arc.
struct TrackPiece {
    double length;       // units along the centre line
    double radius;       // 0 for a straight
    double turnDegrees;  // positive turns left (towards +X when driving along +Z)
    double bankDegrees;  // arcs: how far the road leans into the curve
};

// The road surface at one place along the centre line.
struct TrackFrame {
    Vec3 centre;     // on the road surface, on the centre line
    Vec3 forward;    // unit, along the road, following its slope
    Vec3 left;       // unit, horizontal, across the road to the driver's left
    Vec3 up;         // unit normal of the road surface
    double heading;  // radians: 0 drives along +Z, growing towards +X
    double bank;     // radians: at lateral offset u (left positive) the road lies u * tan(bank) lower
};

// A circuit's centre line: straights and arcs laid end to end from the start line, with a height
// profile and banked curves. The start line is at distance 0, on a straight along +Z; the layout
// is centred on the world origin.
class TrackLayout {
public:
    // Height of the road's centre line at distance `s` along the lap; the road eases between keys.
    struct HeightKey {
        double s;
        double height;
    };

    // Lays the pieces (arcs get their length from radius and turn), on the flat at baseHeight.
    explicit TrackLayout(std::vector<TrackPiece> pieces);
    // Gives the two straights the lengths that bring the end of the last piece back to the start.
    void closeLoop(int firstFree, int secondFree);
    // Keys in lap order, the first at 0 and the last at the lap's end.
    void setHeights(std::vector<HeightKey> keys);
    void setBankDegrees(int piece, double degrees) { pieces[piece].bankDegrees = degrees; }

    double length() const { return total; }
    // True when the pieces form a closed loop: the last ends where the first begins, heading the
    // same way, and no piece runs backwards.
    bool isClosed() const;
    // s is the distance along the centre line from the start line; it wraps around the lap.
    TrackFrame frameAt(double s) const;
    // The road surface at lateral offset `lateral` (left positive) from the centre line.
    Vec3 surfacePoint(double s, double lateral) const;

    int pieceCount() const { return static_cast<int>(pieces.size()); }
    const TrackPiece& piece(int index) const { return pieces[index]; }
    double pieceStart(int index) const { return starts[index]; }
    double pieceMiddle(int index) const { return starts[index] + pieces[index].length / 2; }

    // Distances of the checkpoints along the lap, the first 0 (the start line). Curves get one
    // about every `curveSpacing` units, straights every `straightSpacing`, none closer than
    // `shortestSegment` to the one before; the last segment is the grid straight, `gridSegment` long.
    std::vector<double> checkpointStations() const;

    double smallestRadius() const;
    int curveCount() const;
    // Sum of every arc's turn, left and right alike.
    double totalTurnDegrees() const;
    // Steepest slope and bank, in degrees, sampled along the lap.
    double steepestSlopeDegrees() const;
    double steepestBankDegrees() const;
    // Highest minus lowest point of the centre line.
    double heightRange() const;

    static constexpr double baseHeight = 3.0;  // road height on the flat; the ground lies at 0
    static constexpr double curveSpacing = 25.0;
    static constexpr double straightSpacing = 45.0;
    static constexpr double shortestSegment = 12.0;
    static constexpr double gridSegment = 90.0;

private:
    // Lays the pieces end to end from the start line; returns where the last one ends.
    Vec3 placePieces();
    void centreOnOrigin();
    double heightAt(double s) const;
    double slopeAt(double s) const;
    double bankAt(double s) const;
    int pieceAt(double s) const;
    double wrap(double s) const;

    std::vector<TrackPiece> pieces;
    std::vector<double> starts;    // distance along the lap where each piece begins
    std::vector<Vec3> positions;   // where each piece begins (horizontal, y = 0)
    std::vector<double> headings;  // heading where each piece begins
    double total = 0;
    double endHeading = 0;  // heading at the end of the last piece
    double closingGap = 0;  // distance from the end of the last piece to the start line
    Vec3 offset;            // added to every point, so the circuit is centred on the origin

    std::vector<HeightKey> heightKeys;  // eased between neighbours, the last at the lap's end
};
