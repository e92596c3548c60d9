#pragma once

#include <array>
#include <string>

#include "Vec3.h"

class MeshBuilder;
class Random;

// Closed solids and surfaces the models are built from. Each one is made in its own frame and
// moved into the mesh by `placement`; faces point outwards (counter-clockwise seen from outside).
namespace primitives {

// Box of the given half extents; each face maps the whole texture once.
void box(MeshBuilder& mesh, const std::string& material, const Placement& placement, const Vec3& halfExtents);

// Six flat faces between eight corners, indexed by bits: 1 = +x side, 2 = top, 4 = front (+z).
void hexahedron(MeshBuilder& mesh, const std::string& material, const std::array<Vec3, 8>& corners);
// The same with a material per face, in the order -z, +z, -y, +y, -x, +x; an empty name leaves
// that face out (for a face the caller maps its own way).
void hexahedron(MeshBuilder& mesh, const std::array<std::string, 6>& materials, const std::array<Vec3, 8>& corners);
// Corners of a box of the given half extents, in the order hexahedron takes them.
std::array<Vec3, 8> boxCorners(const Placement& placement, const Vec3& halfExtents);

// A box stretched from `from` to `to` (its length axis), `up` giving its height direction.
void beam(MeshBuilder& mesh, const std::string& material, const Vec3& from, const Vec3& to, double halfWidth,
          double halfHeight, const Vec3& up);

// Side of a frustum around the local y axis from (radiusBottom, yBottom) to (radiusTop, yTop); a top
// radius of 0 makes a cone. The texture wraps `uRepeat` times around and once from bottom to top.
void frustum(MeshBuilder& mesh, const std::string& material, const Placement& placement, double radiusBottom,
             double radiusTop, double yBottom, double yTop, int segments, double uRepeat = 1);

// Flat ring (a disc when innerRadius is 0) at height y of the local frame, facing up or down.
void ring(MeshBuilder& mesh, const std::string& material, const Placement& placement, double innerRadius,
          double outerRadius, double y, bool facingUp, int segments);

// Capped cylinder around the local y axis, centred on the local origin.
void cylinder(MeshBuilder& mesh, const std::string& sideMaterial, const std::string& capMaterial,
              const Placement& placement, double radius, double halfHeight, int segments, double uRepeat = 1);

// Smooth ellipsoid centred on the local origin. With `random`, each vertex's radius varies by up
// to `roughness` (a share of the radius) for a lumpy look; poles and the texture seam stay closed.
void ellipsoid(MeshBuilder& mesh, const std::string& material, const Placement& placement, const Vec3& radii, int rings,
               int segments, Random* random = nullptr, double roughness = 0);

// A lumpy ellipsoid with one flat normal per triangle: a stone.
void facetedStone(MeshBuilder& mesh, const std::string& material, const Placement& placement, const Vec3& radii,
                  int rings, int segments, Random& random, double roughness);

}  // namespace primitives
