#include "ItemModels.h"

#include <array>

#include "MediaNames.h"
#include "Primitives.h"

namespace {

const double fieldHalfSize = 2.5;
const double fieldTopInset = 0.2;  // the top is this much smaller on each side: bevelled edges

}  // namespace

MeshBuilder ItemModels::shell(const std::string& shellMaterial) {
    MeshBuilder mesh;
    primitives::ellipsoid(mesh, shellMaterial, Placement::at({0, 0.12, 0}), {0.8, 0.45, 0.8}, 8, 16);
    primitives::cylinder(mesh, material::shellRim, material::shellRim, Placement::at({0, 0.02, 0}), 0.82, 0.09, 16);
    primitives::ellipsoid(mesh, material::shellBase, Placement::at({0, -0.05, 0}), {0.78, 0.2, 0.78}, 6, 16);
    mesh.recentre();
    return mesh;
}

MeshBuilder ItemModels::dustSphere() {
    MeshBuilder mesh;
    primitives::ellipsoid(mesh, material::dust, Placement(), {1, 1, 1}, 6, 10);
    return mesh;
}

MeshBuilder ItemModels::itemField() {
    const double h = fieldHalfSize, t = fieldHalfSize - fieldTopInset, y = fieldHalfHeight;
    const std::array<Vec3, 8> corners = {Vec3(-h, -y, -h), Vec3(h, -y, -h), Vec3(-t, y, -t), Vec3(t, y, -t),
                                         Vec3(-h, -y, h),  Vec3(h, -y, h),  Vec3(-t, y, t),  Vec3(t, y, t)};
    MeshBuilder mesh;
    primitives::hexahedron(
        mesh,
        {material::fieldSide, material::fieldSide, material::fieldUnder, "", material::fieldSide, material::fieldSide},
        corners);
    // Seen from behind a kart driving along +Z, the picture's right is -X and its top is +Z.
    mesh.addFlatQuad(material::fieldTop, {corners[2], corners[6], corners[7], corners[3]},
                     {{{1, 0}, {1, 1}, {0, 1}, {0, 0}}});
    return mesh;
}
