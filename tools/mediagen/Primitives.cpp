#include "Primitives.h"

#include <cmath>
#include <vector>

#include "MeshBuilder.h"
#include "PortableMath.h"
#include "Random.h"

namespace primitives {

namespace {

const double pi = 3.14159265358979323846;

// Corner order of each face of a hexahedron, counter-clockwise seen from outside.
const int hexahedronFaces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
const std::array<std::array<double, 2>, 4> wholeTexture = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};

// Point of a unit sphere: ring angle from the bottom pole, segment angle around y from +z towards +x.
Vec3 spherePoint(double ringAngle, double segmentAngle) {
    const double lift = -portable::cos(ringAngle), around = portable::sin(ringAngle);
    return {around * portable::sin(segmentAngle), lift, around * portable::cos(segmentAngle)};
}

// Grid of ellipsoid points, rings 0 (bottom pole) to `rings` (top pole), segments 0..`segments` with
// the last column equal to the first. Pole rows and the seam column share their jitter.
std::vector<std::vector<Vec3>> ellipsoidGrid(const Vec3& radii, int rings, int segments, Random* random,
                                             double roughness) {
    std::vector<std::vector<double>> jitter(static_cast<size_t>(rings + 1), std::vector<double>(segments + 1, 1.0));
    if (random) {
        for (int i = 0; i <= rings; ++i) {
            const bool pole = i == 0 || i == rings;
            const double shared = 1 + roughness * random->range(-1, 1);
            for (int j = 0; j < segments; ++j) jitter[i][j] = pole ? shared : 1 + roughness * random->range(-1, 1);
            jitter[i][segments] = jitter[i][0];
        }
    }
    std::vector<std::vector<Vec3>> grid(static_cast<size_t>(rings + 1));
    for (int i = 0; i <= rings; ++i) {
        for (int j = 0; j <= segments; ++j) {
            const Vec3 unit = spherePoint(pi * i / rings, 2 * pi * (j % segments) / segments);
            grid[i].push_back(unit.scaled(radii) * jitter[i][j]);
        }
    }
    return grid;
}

}  // namespace

std::array<Vec3, 8> boxCorners(const Placement& placement, const Vec3& h) {
    std::array<Vec3, 8> corners;
    for (int i = 0; i < 8; ++i) {
        corners[i] = placement.point({(i & 1) ? h.x : -h.x, (i & 2) ? h.y : -h.y, (i & 4) ? h.z : -h.z});
    }
    return corners;
}

void box(MeshBuilder& mesh, const std::string& material, const Placement& placement, const Vec3& h) {
    hexahedron(mesh, material, boxCorners(placement, h));
}

void hexahedron(MeshBuilder& mesh, const std::string& material, const std::array<Vec3, 8>& corners) {
    hexahedron(mesh, {material, material, material, material, material, material}, corners);
}

void hexahedron(MeshBuilder& mesh, const std::array<std::string, 6>& materials, const std::array<Vec3, 8>& corners) {
    for (int f = 0; f < 6; ++f) {
        if (materials[f].empty()) continue;
        const int* face = hexahedronFaces[f];
        mesh.addFlatQuad(materials[f], {corners[face[0]], corners[face[1]], corners[face[2]], corners[face[3]]},
                         wholeTexture);
    }
}

void beam(MeshBuilder& mesh, const std::string& material, const Vec3& from, const Vec3& to, double halfWidth,
          double halfHeight, const Vec3& up) {
    const Vec3 along = (to - from).normalized();
    const Vec3 side = up.cross(along).normalized();
    const Vec3 height = along.cross(side);
    const Placement placement{{side, height, along}, (from + to) * 0.5};
    box(mesh, material, placement, {halfWidth, halfHeight, (to - from).length() * 0.5});
}

void frustum(MeshBuilder& mesh, const std::string& material, const Placement& placement, double radiusBottom,
             double radiusTop, double yBottom, double yTop, int segments, double uRepeat) {
    const double height = yTop - yBottom;
    auto normalAt = [&](double angle) {
        return placement.direction(
            Vec3(portable::sin(angle) * height, radiusBottom - radiusTop, portable::cos(angle) * height).normalized());
    };
    auto rim = [&](double radius, double y, double angle) {
        return placement.point({radius * portable::sin(angle), y, radius * portable::cos(angle)});
    };
    for (int j = 0; j < segments; ++j) {
        const double a0 = 2 * pi * j / segments, a1 = 2 * pi * (j + 1) / segments;
        const double u0 = uRepeat * j / segments, u1 = uRepeat * (j + 1) / segments;
        const MeshVertex b0{rim(radiusBottom, yBottom, a0), normalAt(a0), u0, 0};
        const MeshVertex b1{rim(radiusBottom, yBottom, a1), normalAt(a1), u1, 0};
        if (radiusTop <= 0) {
            const double middle = (a0 + a1) * 0.5;
            const int i0 = mesh.addVertex(material, b0), i1 = mesh.addVertex(material, b1);
            const int apex =
                mesh.addVertex(material, {placement.point({0, yTop, 0}), normalAt(middle), (u0 + u1) * 0.5, 1});
            mesh.addTriangle(material, i0, i1, apex);
            continue;
        }
        const MeshVertex t1{rim(radiusTop, yTop, a1), normalAt(a1), u1, 1};
        const MeshVertex t0{rim(radiusTop, yTop, a0), normalAt(a0), u0, 1};
        mesh.addQuad(material, b0, b1, t1, t0);
    }
}

void ring(MeshBuilder& mesh, const std::string& material, const Placement& placement, double innerRadius,
          double outerRadius, double y, bool facingUp, int segments) {
    const Vec3 normal = placement.direction({0, facingUp ? 1.0 : -1.0, 0});
    auto vertex = [&](double radius, double angle) {
        const double x = radius * portable::sin(angle), z = radius * portable::cos(angle);
        return MeshVertex{placement.point({x, y, z}), normal, 0.5 + 0.5 * x / outerRadius, 0.5 + 0.5 * z / outerRadius};
    };
    for (int j = 0; j < segments; ++j) {
        const double a0 = 2 * pi * j / segments, a1 = 2 * pi * (j + 1) / segments;
        // Seen from above, a0 to a1 runs counter-clockwise; a downward face takes the edge the other way.
        const double first = facingUp ? a0 : a1, second = facingUp ? a1 : a0;
        if (innerRadius <= 0) {
            const int centre = mesh.addVertex(material, vertex(0, 0));
            const int p = mesh.addVertex(material, vertex(outerRadius, first));
            const int q = mesh.addVertex(material, vertex(outerRadius, second));
            mesh.addTriangle(material, centre, p, q);
        } else {
            mesh.addQuad(material, vertex(innerRadius, first), vertex(outerRadius, first), vertex(outerRadius, second),
                         vertex(innerRadius, second));
        }
    }
}

void cylinder(MeshBuilder& mesh, const std::string& sideMaterial, const std::string& capMaterial,
              const Placement& placement, double radius, double halfHeight, int segments, double uRepeat) {
    frustum(mesh, sideMaterial, placement, radius, radius, -halfHeight, halfHeight, segments, uRepeat);
    ring(mesh, capMaterial, placement, 0, radius, halfHeight, true, segments);
    ring(mesh, capMaterial, placement, 0, radius, -halfHeight, false, segments);
}

void ellipsoid(MeshBuilder& mesh, const std::string& material, const Placement& placement, const Vec3& radii, int rings,
               int segments, Random* random, double roughness) {
    const std::vector<std::vector<Vec3>> grid = ellipsoidGrid(radii, rings, segments, random, roughness);
    const Vec3 inverseSquares(1 / (radii.x * radii.x), 1 / (radii.y * radii.y), 1 / (radii.z * radii.z));
    std::vector<std::vector<int>> index(grid.size());
    for (int i = 0; i <= rings; ++i) {
        for (int j = 0; j <= segments; ++j) {
            const Vec3& p = grid[i][j];
            Vec3 normal = p.scaled(inverseSquares).normalized();
            if (i == 0 || i == rings) normal = {0, i == 0 ? -1.0 : 1.0, 0};
            index[i].push_back(
                mesh.addVertex(material, {placement.point(p), placement.direction(normal),
                                          static_cast<double>(j) / segments, static_cast<double>(i) / rings}));
        }
    }
    for (int i = 0; i < rings; ++i) {
        for (int j = 0; j < segments; ++j) {
            const int a = index[i][j], b = index[i][j + 1], c = index[i + 1][j + 1], d = index[i + 1][j];
            if (i > 0) mesh.addTriangle(material, a, b, c);
            if (i + 1 < rings) mesh.addTriangle(material, a, c, d);
        }
    }
}

void facetedStone(MeshBuilder& mesh, const std::string& material, const Placement& placement, const Vec3& radii,
                  int rings, int segments, Random& random, double roughness) {
    const std::vector<std::vector<Vec3>> grid = ellipsoidGrid(radii, rings, segments, &random, roughness);
    auto face = [&](const Vec3& a, const Vec3& b, const Vec3& c) {
        const Vec3 pa = placement.point(a), pb = placement.point(b), pc = placement.point(c);
        const Vec3 normal = (pb - pa).cross(pc - pa).normalized();
        // Planar texture from above keeps neighbouring faces' grain continuous.
        const double scale = 0.25;
        const int ia = mesh.addVertex(material, {pa, normal, a.x * scale, a.z * scale + a.y * scale});
        const int ib = mesh.addVertex(material, {pb, normal, b.x * scale, b.z * scale + b.y * scale});
        const int ic = mesh.addVertex(material, {pc, normal, c.x * scale, c.z * scale + c.y * scale});
        mesh.addTriangle(material, ia, ib, ic);
    };
    for (int i = 0; i < rings; ++i) {
        for (int j = 0; j < segments; ++j) {
            const Vec3 &a = grid[i][j], &b = grid[i][j + 1], &c = grid[i + 1][j + 1], &d = grid[i + 1][j];
            if (i > 0) face(a, b, c);
            if (i + 1 < rings) face(a, c, d);
        }
    }
}

}  // namespace primitives
