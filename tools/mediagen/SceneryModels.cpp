#include "SceneryModels.h"

#include <array>

#include "MediaNames.h"
#include "Primitives.h"
#include "Random.h"

namespace {

const int roundSegments = 16;
const double crateHalfSize = 1.0;
const double barrelRadius = 0.7;
const double barrelHalfHeight = 0.8;

// Grandstand measures: it runs along z, rises towards -x.
const double standHalfLength = 25.0;
const double standHalfDepth = 6.0;
const int standSteps = 5;
const double stepRise = 1.2;
const double standBase = 1.0;
const double roofHeight = 10.0;
const double crowdTile = 6.0;  // units of riser per repeat of the crowd texture

}  // namespace

MeshBuilder SceneryModels::crate() {
    MeshBuilder mesh;
    primitives::box(mesh, material::crate, Placement(), {crateHalfSize, crateHalfSize, crateHalfSize});
    return mesh;
}

MeshBuilder SceneryModels::barrel() {
    MeshBuilder mesh;
    primitives::cylinder(mesh, material::barrel, material::barrelLid, Placement(), barrelRadius, barrelHalfHeight,
                         roundSegments);
    return mesh;
}

MeshBuilder SceneryModels::pine() {
    MeshBuilder mesh;
    primitives::frustum(mesh, material::bark, Placement(), 0.45, 0.35, 0, 2.5, 8);
    const double tiers[3][3] = {{3.0, 1.8, 6.8}, {2.4, 4.6, 9.2}, {1.7, 7.2, 11.5}};  // radius, bottom, apex
    for (const auto& tier : tiers) {
        primitives::frustum(mesh, material::needles, Placement(), tier[0], 0, tier[1], tier[2], 12, 2);
        primitives::ring(mesh, material::needles, Placement(), 0, tier[0], tier[1], false, 12);
    }
    mesh.recentre();
    return mesh;
}

MeshBuilder SceneryModels::broadTree() {
    MeshBuilder mesh;
    primitives::frustum(mesh, material::bark, Placement(), 0.55, 0.4, 0, 4.5, 8);
    Random random(101);
    primitives::ellipsoid(mesh, material::crown, Placement::at({0, 6.6, 0}), {3.4, 2.8, 3.4}, 7, 12, &random, 0.12);
    mesh.recentre();
    return mesh;
}

MeshBuilder SceneryModels::rock(int variant) {
    const Vec3 radii[3] = {{2.4, 1.5, 1.9}, {1.6, 1.3, 2.2}, {3.0, 1.4, 2.5}};
    MeshBuilder mesh;
    Random random(200 + variant);
    primitives::facetedStone(mesh, material::rock, Placement(), radii[variant % 3], 5, 8, random, 0.18);
    mesh.recentre();
    return mesh;
}

MeshBuilder SceneryModels::tyreStack() {
    MeshBuilder mesh;
    const double radius = 0.65, waist = 0.58, height = 0.42, hole = 0.3;
    const int tyres = 4;
    for (int i = 0; i < tyres; ++i) {
        const double bottom = i * height;
        primitives::frustum(mesh, material::tyre, Placement(), waist, radius, bottom, bottom + height / 2,
                            roundSegments);
        primitives::frustum(mesh, material::tyre, Placement(), radius, waist, bottom + height / 2, bottom + height,
                            roundSegments);
    }
    primitives::ring(mesh, material::tyre, Placement(), hole, waist, tyres * height, true, roundSegments);
    primitives::ring(mesh, material::kartTrim, Placement(), 0, hole, tyres * height, true, roundSegments);
    mesh.recentre();
    return mesh;
}

MeshBuilder SceneryModels::grandstand() {
    MeshBuilder mesh;
    const double stepDepth = 2 * standHalfDepth / (standSteps + 1);
    for (int i = 0; i <= standSteps; ++i) {
        // Slice i lies on slice i - 1 and reaches from the back to its riser; slices never overlap,
        // so no two faces share a plane.
        const double front = standHalfDepth - i * stepDepth;
        const double bottom = i == 0 ? 0 : standBase + (i - 1) * stepRise;
        const double top = standBase + i * stepRise;
        const std::array<Vec3, 8> corners = {
            Vec3(-standHalfDepth, bottom, -standHalfLength), Vec3(front, bottom, -standHalfLength),
            Vec3(-standHalfDepth, top, -standHalfLength),    Vec3(front, top, -standHalfLength),
            Vec3(-standHalfDepth, bottom, standHalfLength),  Vec3(front, bottom, standHalfLength),
            Vec3(-standHalfDepth, top, standHalfLength),     Vec3(front, top, standHalfLength)};
        primitives::hexahedron(
            mesh, {material::concrete, material::concrete, "", material::concrete, material::concrete, ""}, corners);
        // The riser facing the track shows the crowd, repeated along the stand.
        const double repeats = 2 * standHalfLength / crowdTile;
        mesh.addFlatQuad(i == 0 ? material::concrete : material::crowd,
                         {corners[1], corners[3], corners[7], corners[5]},
                         {{{0, 0}, {0, 1}, {repeats, 1}, {repeats, 0}}});
    }
    for (double x : {-standHalfDepth + 0.5, standHalfDepth - 0.5}) {
        for (double z : {-standHalfLength + 1, 0.0, standHalfLength - 1}) {
            primitives::cylinder(mesh, material::post, material::post, Placement::at({x, roofHeight / 2, z}), 0.25,
                                 roofHeight / 2, 8);
        }
    }
    primitives::box(mesh, material::roof, Placement::at({0, roofHeight + 0.2, 0}),
                    {standHalfDepth + 1, 0.2, standHalfLength + 1});
    mesh.recentre();
    return mesh;
}

MeshBuilder SceneryModels::gantryPost(double height) {
    MeshBuilder mesh;
    primitives::box(mesh, material::post, Placement(), {postHalfWidth, height / 2, postHalfWidth});
    return mesh;
}

MeshBuilder SceneryModels::banner(double halfSpan) {
    const double h = bannerHalfHeight, d = 0.3;
    const std::array<Vec3, 8> c = primitives::boxCorners(Placement(), {halfSpan, h, d});
    MeshBuilder mesh;
    primitives::hexahedron(mesh, {"", "", material::post, material::post, material::post, material::post}, c);
    // Both faces read left to right for whoever looks at them: from behind the start line
    // (looking along +Z) the picture's right is -X.
    mesh.addFlatQuad(material::banner, {c[1], c[0], c[2], c[3]}, {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}});
    mesh.addFlatQuad(material::banner, {c[4], c[5], c[7], c[6]}, {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}});
    return mesh;
}
