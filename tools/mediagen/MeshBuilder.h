#pragma once

#include <array>
#include <string>
#include <vector>

#include "Vec3.h"

// One corner of a triangle as the game's mesh files hold it.
struct MeshVertex {
    Vec3 position;
    Vec3 normal;
    double u = 0;
    double v = 0;
};

// Axis-aligned box around a set of points; empty until the first point is added.
struct Bounds {
    Vec3 min;
    Vec3 max;
    bool empty = true;

    void add(const Vec3& p);
    Vec3 centre() const { return (min + max) * 0.5; }
    Vec3 size() const { return max - min; }
};

// Collects triangles per material (one submesh each, in the order materials are first used) and
// writes them as a mesh file. Triangles are counter-clockwise seen from the side their normals
// point to, since the game culls back faces.
class MeshBuilder {
public:
    // Adds a vertex to the submesh of `material` and returns its index there.
    int addVertex(const std::string& material, const MeshVertex& vertex);
    void addTriangle(const std::string& material, int a, int b, int c);
    // Four new vertices a, b, c, d (counter-clockwise seen from outside) and two triangles.
    void addQuad(const std::string& material, const MeshVertex& a, const MeshVertex& b, const MeshVertex& c,
                 const MeshVertex& d);
    // A flat quad: its normal comes from the corners; texture coordinates (u, v) per corner.
    void addFlatQuad(const std::string& material, const std::array<Vec3, 4>& corners,
                     const std::array<std::array<double, 2>, 4>& uv);

    // Adds every triangle of `other`, moved by `placement`.
    void append(const MeshBuilder& other, const Placement& placement = Placement());
    void transform(const Placement& placement);
    // Moves the mesh so that the centre of its bounding box is the origin.
    void recentre();

    Bounds bounds() const;
    int triangleCount() const;
    int vertexCount() const;
    // Triangles whose winding disagrees with their vertex normals, or that have no area; 0 when sound.
    int faultyTriangles() const;

    std::string toXml() const;

private:
    struct Submesh {
        std::string material;
        std::vector<MeshVertex> vertices;
        std::vector<std::array<int, 3>> faces;
    };
    Submesh& submesh(const std::string& material);

    std::vector<Submesh> submeshes;
};
