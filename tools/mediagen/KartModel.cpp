#include "KartModel.h"

#include <array>
#include <cmath>

#include "MediaNames.h"
#include "Primitives.h"

namespace {

const double pi = 3.14159265358979323846;
const int wheelSegments = 16;
const double hubRadiusShare = 0.6;  // hub disc radius as a share of the tyre radius
const double hubCapRadius = 0.1;
const double hubCapLength = 0.05;

// Parts are modelled standing on the ground (y = 0) and centred by the body's box afterwards.
const double frontWheelRadius = 0.52;
const double frontWheelHalfWidth = 0.22;
const double rearWheelRadius = 0.6;
const double rearWheelHalfWidth = 0.3;
const Vec3 rearWheelCentre(1.15, 0.6, -1.55);  // hub caps reach x = 1.5
const Vec3 bodyPivot(0, 0.6, 0);               // the body rolls about the rear axle's height
const Vec3 driverPivot(0, 0.45, 0);            // the driver leans from the hips

// Turns a cylinder's own y axis into x.
const Basis yToX = Basis::rotation({0, 0, 1}, -pi / 2);

// Mirror image across x = 0, with corner bit 1 (the +x side) swapped.
std::array<Vec3, 8> mirrored(const std::array<Vec3, 8>& corners) {
    std::array<Vec3, 8> result;
    for (int i = 0; i < 8; ++i) {
        const Vec3& c = corners[i ^ 1];
        result[i] = {-c.x, c.y, c.z};
    }
    return result;
}

// A box described by its back (z0) and front (z1) faces: half widths and bottom/top heights.
std::array<Vec3, 8> taperedBox(double z0, double halfWidth0, double bottom0, double top0, double z1, double halfWidth1,
                               double bottom1, double top1) {
    std::array<Vec3, 8> corners;
    for (int i = 0; i < 8; ++i) {
        const bool right = i & 1, upper = i & 2, front = i & 4;
        const double halfWidth = front ? halfWidth1 : halfWidth0;
        corners[i] = {right ? halfWidth : -halfWidth, upper ? (front ? top1 : top0) : (front ? bottom1 : bottom0),
                      front ? z1 : z0};
    }
    return corners;
}

// Rotation by `radians` about the z axis through `pivot`, as a placement.
Placement rollAbout(const Vec3& pivot, double radians) {
    const Basis turn = Basis::rotation({0, 0, 1}, radians);
    return {turn, pivot - turn * pivot};
}

void addWheel(MeshBuilder& mesh, const Placement& placement, double radius, double halfWidth) {
    const Placement axle{placement.basis * yToX, placement.origin};
    primitives::frustum(mesh, material::tyre, axle, radius, radius, -halfWidth, halfWidth, wheelSegments);
    const double hub = radius * hubRadiusShare;
    for (double side : {1.0, -1.0}) {
        primitives::ring(mesh, material::tyre, axle, hub, radius, side * halfWidth, side > 0, wheelSegments);
        primitives::ring(mesh, material::hub, axle, 0, hub, side * halfWidth, side > 0, wheelSegments);
        const Placement cap{axle.basis, axle.point({0, side * (halfWidth + hubCapLength / 2), 0})};
        primitives::cylinder(mesh, material::hub, material::hub, cap, hubCapRadius, hubCapLength / 2, 8);
    }
}

// Everything that leans with the body except the driver.
MeshBuilder chassis() {
    MeshBuilder mesh;
    primitives::box(mesh, material::kartTrim, Placement::at({0, 0.22, 0}), {0.85, 0.07, 1.95});
    const std::array<Vec3, 8> leftPod = {Vec3(0.55, 0.2, -0.75),  Vec3(1.35, 0.2, -0.75), Vec3(0.55, 0.72, -0.75),
                                         Vec3(1.35, 0.52, -0.75), Vec3(0.55, 0.2, 1.0),   Vec3(1.25, 0.2, 1.0),
                                         Vec3(0.55, 0.6, 1.0),    Vec3(1.25, 0.45, 1.0)};
    primitives::hexahedron(mesh, material::kartBody, leftPod);
    primitives::hexahedron(mesh, material::kartBody, mirrored(leftPod));
    // Nose and cowl in front of the driver.
    primitives::hexahedron(mesh, material::kartBody, taperedBox(0.95, 0.75, 0.2, 0.8, 2.25, 0.6, 0.22, 0.5));
    primitives::hexahedron(mesh, material::kartBody, taperedBox(0.3, 0.55, 0.3, 0.95, 0.95, 0.72, 0.3, 0.8));
    primitives::box(mesh, material::kartTrim, Placement::at({0, 0.3, 2.19}), {0.7, 0.08, 0.06});  // bumper
    // Front axle beam reaching out to where the game draws the front wheels.
    primitives::cylinder(mesh, material::kartMetal, material::kartMetal, {yToX, {0, 0.5, 1.75}}, 0.06, 1.0, 8);
    // Steering column and wheel.
    primitives::beam(mesh, material::kartTrim, {0, 0.78, 0.8}, {0, 0.98, 0.3}, 0.04, 0.04, {0, 1, 0});
    const Vec3 column = Vec3(0, 0.42, -0.9).normalized();
    const Vec3 across(1, 0, 0);
    primitives::cylinder(mesh, material::kartTrim, material::kartTrim,
                         {{across, column, across.cross(column)}, {0, 1.0, 0.27}}, 0.22, 0.03, 12);
    // Seat.
    primitives::hexahedron(mesh, material::kartTrim, taperedBox(-1.0, 0.42, 0.29, 0.42, -0.3, 0.42, 0.29, 0.42));
    primitives::hexahedron(
        mesh, material::kartTrim,
        {Vec3(-0.42, 0.42, -1.0), Vec3(0.42, 0.42, -1.0), Vec3(-0.42, 1.1, -1.2), Vec3(0.42, 1.1, -1.2),
         Vec3(-0.42, 0.42, -0.85), Vec3(0.42, 0.42, -0.85), Vec3(-0.42, 1.1, -1.05), Vec3(0.42, 1.1, -1.05)});
    // Engine behind the seat, between the rear wheels, with its air filter.
    primitives::box(mesh, material::kartMetal, Placement::at({0, 0.6, -1.95}), {0.5, 0.3, 0.3});
    primitives::cylinder(mesh, material::kartTrim, material::kartTrim, Placement::at({-0.28, 0.96, -1.95}), 0.16, 0.06,
                         10);
    // Rear wing on two struts.
    primitives::box(mesh, material::kartBody, Placement::at({0, 1.12, -2.05}), {1.05, 0.04, 0.18});
    for (double x : {-0.4, 0.4})
        primitives::beam(mesh, material::kartTrim, {x, 0.88, -1.95}, {x, 1.09, -2.05}, 0.04, 0.04, {0, 0, 1});
    return mesh;
}

MeshBuilder driver() {
    MeshBuilder mesh;
    for (double x : {-0.17, 0.17})
        primitives::box(mesh, material::driverSuit, Placement::at({x, 0.52, 0.22}), {0.13, 0.1, 0.52});
    primitives::hexahedron(
        mesh, material::driverSuit,
        {Vec3(-0.38, 0.42, -0.85), Vec3(0.38, 0.42, -0.85), Vec3(-0.42, 1.15, -0.95), Vec3(0.42, 1.15, -0.95),
         Vec3(-0.38, 0.42, -0.4), Vec3(0.38, 0.42, -0.4), Vec3(-0.42, 1.15, -0.6), Vec3(0.42, 1.15, -0.6)});
    for (double side : {-1.0, 1.0}) {
        primitives::beam(mesh, material::driverSuit, {side * 0.42, 1.06, -0.72}, {side * 0.2, 1.02, 0.22}, 0.08, 0.08,
                         {0, 1, 0});
    }
    primitives::ellipsoid(mesh, material::helmet, Placement::at({0, 1.31, -0.72}), {0.29, 0.29, 0.31}, 8, 12);
    primitives::box(mesh, material::visor, Placement::at({0, 1.33, -0.45}), {0.2, 0.08, 0.05});
    return mesh;
}

MeshBuilder pose(int index) {
    const double lean = -index * KartModel::leanStepDegrees * pi / 180;  // negative about +z tips the top to +x
    MeshBuilder mesh;
    for (double side : {-1.0, 1.0}) {
        addWheel(mesh, Placement::at({side * rearWheelCentre.x, rearWheelCentre.y, rearWheelCentre.z}), rearWheelRadius,
                 rearWheelHalfWidth);
    }
    primitives::cylinder(mesh, material::kartMetal, material::kartMetal,
                         {yToX, {0, rearWheelCentre.y, rearWheelCentre.z}}, 0.07,
                         rearWheelCentre.x - rearWheelHalfWidth, 8);
    const Placement bodyRoll = rollAbout(bodyPivot, lean);
    mesh.append(chassis(), bodyRoll);
    mesh.append(driver(), rollAbout(driverPivot, lean).then(bodyRoll));
    return mesh;
}

}  // namespace

MeshBuilder KartModel::body(int poseIndex) {
    // Every pose is moved by the straight pose's centre, so the rear wheels stay in place.
    const Vec3 shift = -pose(0).bounds().centre();
    MeshBuilder mesh = pose(poseIndex);
    mesh.transform(Placement::at(shift));
    return mesh;
}

MeshBuilder KartModel::wheel() {
    MeshBuilder mesh;
    addWheel(mesh, Placement(), frontWheelRadius, frontWheelHalfWidth);
    return mesh;
}
