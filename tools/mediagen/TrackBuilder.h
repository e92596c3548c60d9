#pragma once

#include <vector>

#include "MeshBuilder.h"
#include "Vec3.h"

struct Circuit;
class TrackLayout;

// Builds the track mesh along a circuit's layout: the asphalt road with kerbs and the start line,
// a barrier wall on each side, and the grassy embankment from the wall tops down to the ground.
// Also gives the checkpoints and how far the track reaches out to the sides.
class TrackBuilder {
public:
    explicit TrackBuilder(const Circuit& circuit);

    MeshBuilder build() const;
    // Checkpoints on the centre line, in driving order, the first on the start line.
    std::vector<Vec3> checkpoints() const;
    // Horizontal distance from the centre line to the foot of the embankment at s, on the higher side.
    double reach(double s) const;

    static constexpr double halfWidth = 19.0;  // centre line to the inner face of a wall
    static constexpr double kerbWidth = 1.5;
    static constexpr double startLineHalfDepth = 1.5;
    static constexpr double wallFooting = 0.5;  // below the road edge, so no gap shows under the wall
    static constexpr double wallThickness = 1.0;
    static constexpr double lipThickness = 0.3;  // of a barrier's cap where it overhangs the road
    static constexpr double embankmentFoot = -0.3;  // height of the embankment's foot, just below the ground
    // Horizontal run of the embankment per unit it falls: 1.25 is a slope of 39 degrees, a floor the
    // karts drive on (the game's walls are steeper than 45 degrees) even where the strips twist
    // round curves, so a kart knocked over a barrier drives back up and over it onto the road.
    static constexpr double embankmentRun = 1.25;
    // Cross-sections along the road: on curves one for every few degrees of turn (the chords then
    // stray from the arc by a tenth of a unit at most on the tightest curves), at most this far apart.
    static constexpr double stationTurnDegrees = 5.0;
    static constexpr double stationSpacing = 10.0;

private:
    // One cross-section of the track.
    struct Station {
        double s;         // distance along the lap
        double textureS;  // distance used for texture coordinates (the closing copy of station 0 ends the lap)
        Vec3 up;
        Vec3 left;
        std::vector<Vec3> road;  // surface points at the road's lateral columns, right to left
    };
    std::vector<Station> stations() const;
    void addRoad(MeshBuilder& mesh, const std::vector<Station>& all) const;
    void addWall(MeshBuilder& mesh, const std::vector<Station>& all, double side) const;
    // Height the cap adds on top of the barrier: none without a lip.
    double capThickness() const;
    // Texture coordinate along the lap that repeats a whole number of times per lap.
    double lapTexture(double s, double period) const;

    const TrackLayout& layout;
    double wallHeight;  // above the road edge
    double lip;         // how far the barrier's cap overhangs the road's side
};
