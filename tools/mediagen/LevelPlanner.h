#pragma once

#include <map>
#include <string>
#include <vector>

#include "MeshBuilder.h"
#include "SceneWriter.h"

struct Circuit;
class TrackBuilder;
class TrackLayout;

// Decides where everything of a circuit's level goes: the track and the ground, the starting
// grid, the rows of pick-up fields, the loose crates and barrels beside the racing line, and the
// scenery outside the barriers.
class LevelPlanner {
public:
    // `meshBounds` gives the box of every mesh the scene places, by mesh name.
    LevelPlanner(const Circuit& circuit, const TrackBuilder& track, const std::map<std::string, Bounds>& meshBounds);

    std::vector<SceneNode> plan() const;

    // Measures of the start gantry, which the models need before the level is planned.
    static double gantryPostHeight(const TrackLayout& layout);
    static double gantryBannerHalfSpan();

    static constexpr int gridRows = 4;
    static constexpr double gridRowSpacing = 9.0;
    static constexpr double gridFirstRow = 8.0;  // distance of the front row behind the start line
    static constexpr double gridColumn = 7.0;    // lateral offset of the two columns
    static constexpr double kartHeight = 1.0;    // kart origin above the road at the start
    static constexpr double fieldTopAboveRoad = 0.15;
    static constexpr double gantryClearance = 12.5;  // road to the banner's lower edge, above the chase camera
    static constexpr double gantryPostOffset = 1.5;  // wall's outer face to the post centre

private:
    // A round area already taken by a scenery object.
    struct Footprint {
        Vec3 centre;
        double radius;
    };

    void addTrack(std::vector<SceneNode>& nodes) const;
    void addGrid(std::vector<SceneNode>& nodes) const;
    void addItemFields(std::vector<SceneNode>& nodes) const;
    void addLooseObjects(std::vector<SceneNode>& nodes) const;
    void addGantry(std::vector<SceneNode>& nodes, std::vector<Footprint>& taken) const;
    void addGrandstand(std::vector<SceneNode>& nodes, std::vector<Footprint>& taken) const;
    void addTyreStacks(std::vector<SceneNode>& nodes, std::vector<Footprint>& taken) const;
    void addTreesAndRocks(std::vector<SceneNode>& nodes, std::vector<Footprint>& taken) const;

    // True when a round object at `centre` keeps `gap` away from the track and from everything taken.
    bool isFree(const Vec3& centre, double radius, double gap, const std::vector<Footprint>& taken) const;
    double halfHeight(const std::string& mesh) const;
    double footRadius(const std::string& mesh) const;

    const Circuit& circuit;
    const TrackLayout& layout;
    const TrackBuilder& track;
    std::map<std::string, Bounds> meshBounds;
    // Centre-line points every few units with the track's reach there, for clearance tests.
    std::vector<std::pair<Vec3, double>> reachSamples;
};
