#include "LevelPlanner.h"

#include <algorithm>
#include <cmath>

#include "Circuit.h"
#include "ItemModels.h"
#include "MediaNames.h"
#include "PortableMath.h"
#include "Random.h"
#include "SceneryModels.h"
#include "TrackBuilder.h"
#include "TrackLayout.h"

namespace {

const double pi = 3.14159265358979323846;

// Pick-up field rows: four pads across the road.
const double fieldLaterals[] = {-13.5, -4.5, 4.5, 13.5};

const double looseDrop = 0.3;  // start a little above the road and fall onto it
const double crateMass = 12.0;
const double barrelMass = 8.0;
const double looseTurn = 0.4;  // radians each way they may stand turned from the road's heading
// Seeds of the small turns of loose objects and tyre stacks; the circuit number is added.
const uint64_t looseSeed = 7;
const uint64_t tyreStackSeed = 5;

// The posts reach a little above the banner.
const double postAboveBanner = 0.5;
const double gantryPostLateral = TrackBuilder::halfWidth + TrackBuilder::wallThickness + LevelPlanner::gantryPostOffset;

const double grandstandAt = 20.0;  // distance along the start straight from the start line
const double grandstandGap = 4.0;  // from the foot of the embankment to the stand's front

const double mainCurveDegrees = 90.0;              // curves this sharp get tyre stacks on the outside
const double tyreStackShares[] = {0.3, 0.5, 0.7};  // where along such a curve
const double tyreStackGap = 1.0;                   // from the foot of the embankment

const double reachSampleSpacing = 4.0;
const int scatterAttempts = 8000;
const double scatterMargin = 120.0;  // how far beyond the circuit's box scenery may stand
const double treeGap = 4.0;
const double rockGap = 3.0;

Basis roadBasis(const TrackFrame& frame) {
    const Vec3 forward = frame.forward, up = frame.up;
    return {up.cross(forward), up, forward};
}

Vec3 horizontal(const Vec3& v) { return {v.x, 0, v.z}; }

std::string numbered(const char* prefix, int number) { return prefix + std::to_string(number); }

}  // namespace

LevelPlanner::LevelPlanner(const Circuit& circuit, const TrackBuilder& track,
                           const std::map<std::string, Bounds>& meshBounds)
    : circuit(circuit), layout(circuit.layout), track(track), meshBounds(meshBounds) {
    for (double s = 0; s < layout.length(); s += reachSampleSpacing) {
        reachSamples.push_back({horizontal(layout.frameAt(s).centre), track.reach(s)});
    }
}

double LevelPlanner::halfHeight(const std::string& mesh) const { return meshBounds.at(mesh).size().y / 2; }

double LevelPlanner::footRadius(const std::string& mesh) const {
    const Vec3 size = meshBounds.at(mesh).size();
    return portable::hypot(size.x, size.z) / 2;
}

bool LevelPlanner::isFree(const Vec3& centre, double radius, double gap, const std::vector<Footprint>& taken) const {
    const Vec3 flat = horizontal(centre);
    for (const auto& sample : reachSamples) {
        if ((flat - sample.first).length() < sample.second + radius + gap) return false;
    }
    for (const Footprint& other : taken) {
        if ((flat - horizontal(other.centre)).length() < other.radius + radius + gap) return false;
    }
    return true;
}

double LevelPlanner::gantryPostHeight(const TrackLayout& layout) {
    return layout.frameAt(0).centre.y + gantryClearance + 2 * SceneryModels::bannerHalfHeight + postAboveBanner;
}

double LevelPlanner::gantryBannerHalfSpan() { return gantryPostLateral + SceneryModels::postHalfWidth; }

void LevelPlanner::addTrack(std::vector<SceneNode>& nodes) const {
    nodes.push_back({"Track", meshName::track, {}, {}, {1, 1, 1}, "terrain", 0});
    nodes.push_back({"Ground", meshName::ground, {}, {}, {1, 1, 1}, "terrain", 0});
}

void LevelPlanner::addGrid(std::vector<SceneNode>& nodes) const {
    // Two columns, row by row from the front, left before right: the fourth kart, the player's,
    // starts on the right of the second row. All of them lie in the last course segment.
    int number = 1;
    for (int row = 0; row < gridRows; ++row) {
        const double s = layout.length() - gridFirstRow - row * gridRowSpacing;
        for (double lateral : {gridColumn, -gridColumn}) {
            const TrackFrame frame = layout.frameAt(s);
            const Vec3 position = layout.surfacePoint(s, lateral) + Vec3(0, kartHeight, 0);
            nodes.push_back({numbered("Kart", number++),
                             meshName::kartCentre,
                             position,
                             Quaternion::fromBasis(roadBasis(frame)),
                             {1, 1, 1},
                             "vehicle",
                             0});
        }
    }
}

void LevelPlanner::addItemFields(std::vector<SceneNode>& nodes) const {
    int number = 1;
    for (double s : circuit.itemRows) {
        const TrackFrame frame = layout.frameAt(s);
        for (double lateral : fieldLaterals) {
            const Vec3 surface = layout.surfacePoint(s, lateral);
            const Vec3 position = surface + frame.up * (fieldTopAboveRoad - ItemModels::fieldHalfHeight);
            nodes.push_back({numbered("ItemField", number++),
                             meshName::itemField,
                             position,
                             Quaternion::fromBasis(roadBasis(frame)),
                             {1, 1, 1},
                             "extrafield",
                             0});
        }
    }
}

void LevelPlanner::addLooseObjects(std::vector<SceneNode>& nodes) const {
    Random random(looseSeed + circuit.number);
    int crates = 1, barrels = 1;
    for (const LooseObject& object : circuit.looseObjects) {
        const char* mesh = object.crate ? meshName::crate : meshName::barrel;
        const TrackFrame frame = layout.frameAt(object.s);
        const Vec3 position = layout.surfacePoint(object.s, object.lateral) + Vec3(0, halfHeight(mesh) + looseDrop, 0);
        const double turn = frame.heading + random.range(-looseTurn, looseTurn);
        nodes.push_back({object.crate ? numbered("Crate", crates++) : numbered("Barrel", barrels++),
                         mesh,
                         position,
                         Quaternion::yaw(turn),
                         {1, 1, 1},
                         object.crate ? "crate" : "barrel",
                         object.crate ? crateMass : barrelMass});
    }
}

void LevelPlanner::addGantry(std::vector<SceneNode>& nodes, std::vector<Footprint>& taken) const {
    // Two posts beside the walls and a banner high over the start line, each its own object, so no
    // collision hull spans the road.
    const TrackFrame frame = layout.frameAt(0);
    const double postHeight = halfHeight(meshName::gantryPost) * 2;
    int number = 1;
    for (double side : {1.0, -1.0}) {
        const Vec3 foot = horizontal(frame.centre + frame.left * (side * gantryPostLateral));
        nodes.push_back({numbered("GantryPost", number++),
                         meshName::gantryPost,
                         foot + Vec3(0, postHeight / 2, 0),
                         Quaternion::yaw(frame.heading),
                         {1, 1, 1},
                         "scenery",
                         0});
        taken.push_back({foot, SceneryModels::postHalfWidth * 2});
    }
    const Vec3 banner = frame.centre + Vec3(0, gantryClearance + SceneryModels::bannerHalfHeight, 0);
    nodes.push_back({"StartBanner", meshName::banner, banner, Quaternion::yaw(frame.heading), {1, 1, 1}, "scenery", 0});
}

void LevelPlanner::addGrandstand(std::vector<SceneNode>& nodes, std::vector<Footprint>& taken) const {
    // Beside the start straight, its front towards the track: on the driver's right, or on the left
    // where another part of the circuit passes on the right; none where both sides are taken.
    const TrackFrame frame = layout.frameAt(grandstandAt);
    const Bounds box = meshBounds.at(meshName::grandstand);
    const double halfDepth = box.size().x / 2, halfLength = box.size().z / 2;
    const Vec3 along(portable::sin(frame.heading), 0, portable::cos(frame.heading));
    for (double side : {-1.0, 1.0}) {
        const double lateral = side * (track.reach(grandstandAt) + grandstandGap + halfDepth);
        const Vec3 foot = horizontal(frame.centre + frame.left * lateral);
        // Its long footprint is covered by a row of circles.
        std::vector<Footprint> footprint;
        for (double at = -halfLength; at <= halfLength; at += halfDepth) {
            footprint.push_back({foot + along * at, halfDepth * 1.2});
        }
        const bool free = std::all_of(footprint.begin(), footprint.end(), [&](const Footprint& circle) {
            return isFree(circle.centre, circle.radius, 0, taken);
        });
        if (!free) continue;
        nodes.push_back({"Grandstand",
                         meshName::grandstand,
                         foot + Vec3(0, box.size().y / 2, 0),
                         Quaternion::yaw(frame.heading + (side > 0 ? pi : 0)),
                         {1, 1, 1},
                         "scenery",
                         0});
        taken.insert(taken.end(), footprint.begin(), footprint.end());
        return;
    }
}

void LevelPlanner::addTyreStacks(std::vector<SceneNode>& nodes, std::vector<Footprint>& taken) const {
    // On the outside of the curves that turn a right angle or more, just beyond the foot of the embankment.
    const double radius = footRadius(meshName::tyreStack);
    Random random(tyreStackSeed + circuit.number);
    int number = 1;
    for (int index = 0; index < layout.pieceCount(); ++index) {
        const TrackPiece& piece = layout.piece(index);
        if (std::fabs(piece.turnDegrees) < mainCurveDegrees) continue;
        const double outside = piece.turnDegrees > 0 ? -1 : 1;
        for (double share : tyreStackShares) {
            const double s = layout.pieceStart(index) + piece.length * share;
            const TrackFrame frame = layout.frameAt(s);
            const double lateral = outside * (track.reach(s) + radius + tyreStackGap);
            const Vec3 foot = horizontal(frame.centre + frame.left * lateral);
            const double turn = random.range(0, 2 * pi);
            if (!isFree(foot, radius, tyreStackGap / 2, taken)) continue;
            nodes.push_back({numbered("TyreStack", number++),
                             meshName::tyreStack,
                             foot + Vec3(0, halfHeight(meshName::tyreStack), 0),
                             Quaternion::yaw(turn),
                             {1, 1, 1},
                             "scenery",
                             0});
            taken.push_back({foot, radius});
        }
    }
}

void LevelPlanner::addTreesAndRocks(std::vector<SceneNode>& nodes, std::vector<Footprint>& taken) const {
    Bounds area;
    for (const auto& sample : reachSamples) area.add(sample.first);
    const CircuitLook& look = circuit.look;
    Random random(look.scenerySeed);
    int trees = 0, rocks = 0;
    for (int attempt = 0; attempt < scatterAttempts && (trees < look.trees || rocks < look.rocks); ++attempt) {
        const Vec3 foot(random.range(area.min.x - scatterMargin, area.max.x + scatterMargin), 0,
                        random.range(area.min.z - scatterMargin, area.max.z + scatterMargin));
        const bool tree = trees < look.trees && (rocks >= look.rocks || random.uniform() < look.treeShare);
        std::string mesh;
        if (tree) {
            mesh = random.uniform() < look.pineShare ? meshName::pine : meshName::broadTree;
        } else {
            mesh = meshName::rockPrefix + std::to_string(1 + static_cast<int>(random.next() % meshName::rockVariants)) +
                   ".mesh";
        }
        const double scale = tree ? random.range(0.8, 1.3) : random.range(0.7, 1.5);
        const double turn = random.range(0, 2 * pi);
        const double radius = footRadius(mesh) * scale;
        if (!isFree(foot, radius, tree ? treeGap : rockGap, taken)) continue;
        // Stones sit a little in the ground.
        const double sink = tree ? 0 : 0.25 * halfHeight(mesh) * scale;
        nodes.push_back({tree ? numbered("Tree", ++trees) : numbered("Rock", ++rocks),
                         mesh,
                         foot + Vec3(0, halfHeight(mesh) * scale - sink, 0),
                         Quaternion::yaw(turn),
                         {scale, scale, scale},
                         tree ? "tree" : "rock",
                         0});
        taken.push_back({foot, radius});
    }
}

std::vector<SceneNode> LevelPlanner::plan() const {
    std::vector<SceneNode> nodes;
    std::vector<Footprint> taken;
    addTrack(nodes);
    addGrid(nodes);
    addItemFields(nodes);
    addLooseObjects(nodes);
    addGantry(nodes, taken);
    addGrandstand(nodes, taken);
    addTyreStacks(nodes, taken);
    addTreesAndRocks(nodes, taken);
    return nodes;
}
