#include "MeshBuilder.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "NumberFormat.h"

namespace {

// Twice the area below which a triangle counts as degenerate.
const double smallestArea = 1e-9;

// Digits the files keep (a unit is about a metre): positions to a millimetre in models and to a
// centimetre in meshes larger than `largeMesh` units (the track, the ground), normals to a hundredth
// (a lighting difference below one per cent), texture coordinates to a thousandth of a repeat (an
// eighth of a texel of the largest textures).
const double largeMesh = 100;
const int modelDecimals = 3;
const int largeMeshDecimals = 2;
const int normalDecimals = 2;
const int texCoordDecimals = 3;

std::string attribute(const char* name, double value, int decimals) {
    return std::string(name) + "=\"" + formatNumber(value, decimals) + "\"";
}

}  // namespace

void Bounds::add(const Vec3& p) {
    if (empty) {
        min = max = p;
        empty = false;
        return;
    }
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

MeshBuilder::Submesh& MeshBuilder::submesh(const std::string& material) {
    for (Submesh& existing : submeshes) {
        if (existing.material == material) return existing;
    }
    submeshes.push_back(Submesh{material, {}, {}});
    return submeshes.back();
}

int MeshBuilder::addVertex(const std::string& material, const MeshVertex& vertex) {
    Submesh& target = submesh(material);
    target.vertices.push_back(vertex);
    return static_cast<int>(target.vertices.size()) - 1;
}

void MeshBuilder::addTriangle(const std::string& material, int a, int b, int c) {
    submesh(material).faces.push_back({a, b, c});
}

void MeshBuilder::addQuad(const std::string& material, const MeshVertex& a, const MeshVertex& b, const MeshVertex& c,
                          const MeshVertex& d) {
    const int ia = addVertex(material, a), ib = addVertex(material, b);
    const int ic = addVertex(material, c), id = addVertex(material, d);
    addTriangle(material, ia, ib, ic);
    addTriangle(material, ia, ic, id);
}

void MeshBuilder::addFlatQuad(const std::string& material, const std::array<Vec3, 4>& corners,
                              const std::array<std::array<double, 2>, 4>& uv) {
    // The cross product of the diagonals is the quad's normal also when it is slightly warped.
    const Vec3 normal = (corners[2] - corners[0]).cross(corners[3] - corners[1]).normalized();
    MeshVertex v[4];
    for (int i = 0; i < 4; ++i) v[i] = {corners[i], normal, uv[i][0], uv[i][1]};
    addQuad(material, v[0], v[1], v[2], v[3]);
}

void MeshBuilder::append(const MeshBuilder& other, const Placement& placement) {
    for (const Submesh& part : other.submeshes) {
        Submesh& target = submesh(part.material);
        const int base = static_cast<int>(target.vertices.size());
        for (const MeshVertex& vertex : part.vertices) {
            target.vertices.push_back(
                {placement.point(vertex.position), placement.direction(vertex.normal), vertex.u, vertex.v});
        }
        for (const std::array<int, 3>& face : part.faces)
            target.faces.push_back({face[0] + base, face[1] + base, face[2] + base});
    }
}

void MeshBuilder::transform(const Placement& placement) {
    for (Submesh& part : submeshes) {
        for (MeshVertex& vertex : part.vertices) {
            vertex.position = placement.point(vertex.position);
            vertex.normal = placement.direction(vertex.normal);
        }
    }
}

void MeshBuilder::recentre() { transform(Placement::at(-bounds().centre())); }

Bounds MeshBuilder::bounds() const {
    Bounds box;
    for (const Submesh& part : submeshes) {
        for (const MeshVertex& vertex : part.vertices) box.add(vertex.position);
    }
    return box;
}

int MeshBuilder::triangleCount() const {
    size_t count = 0;
    for (const Submesh& part : submeshes) count += part.faces.size();
    return static_cast<int>(count);
}

int MeshBuilder::vertexCount() const {
    size_t count = 0;
    for (const Submesh& part : submeshes) count += part.vertices.size();
    return static_cast<int>(count);
}

int MeshBuilder::faultyTriangles() const {
    int faulty = 0;
    for (const Submesh& part : submeshes) {
        const int n = static_cast<int>(part.vertices.size());
        for (const std::array<int, 3>& face : part.faces) {
            if (std::any_of(face.begin(), face.end(), [n](int i) { return i < 0 || i >= n; })) {
                ++faulty;
                continue;
            }
            const MeshVertex& a = part.vertices[face[0]];
            const MeshVertex& b = part.vertices[face[1]];
            const MeshVertex& c = part.vertices[face[2]];
            const Vec3 faceNormal = (b.position - a.position).cross(c.position - a.position);
            if (faceNormal.length() < smallestArea || faceNormal.dot(a.normal + b.normal + c.normal) <= 0) ++faulty;
        }
    }
    return faulty;
}

std::string MeshBuilder::toXml() const {
    const Vec3 size = bounds().size();
    const int decimals = std::max(size.x, std::max(size.y, size.z)) > largeMesh ? largeMeshDecimals : modelDecimals;
    std::ostringstream xml;
    xml << "<mesh>\n<submeshes>\n";
    for (const Submesh& part : submeshes) {
        // Vertices that read the same once written are written once, and the faces share them; a
        // face whose corners then meet has no area left and is dropped.
        std::map<std::string, int> written;
        std::vector<std::string> vertices;
        std::vector<int> index(part.vertices.size());
        for (size_t i = 0; i < part.vertices.size(); ++i) {
            const MeshVertex& vertex = part.vertices[i];
            const Vec3& p = vertex.position;
            const Vec3& n = vertex.normal;
            const std::string text = "<vertex><position " + attribute("x", p.x, decimals) + ' ' +
                                     attribute("y", p.y, decimals) + ' ' + attribute("z", p.z, decimals) +
                                     "/><normal " + attribute("x", n.x, normalDecimals) + ' ' +
                                     attribute("y", n.y, normalDecimals) + ' ' + attribute("z", n.z, normalDecimals) +
                                     "/><texcoord " + attribute("u", vertex.u, texCoordDecimals) + ' ' +
                                     attribute("v", vertex.v, texCoordDecimals) + "/></vertex>\n";
            const auto found = written.emplace(text, static_cast<int>(vertices.size()));
            if (found.second) vertices.push_back(text);
            index[i] = found.first->second;
        }
        std::vector<std::array<int, 3>> faces;
        for (const std::array<int, 3>& face : part.faces) {
            const int a = index[face[0]], b = index[face[1]], c = index[face[2]];
            if (a != b && b != c && a != c) faces.push_back({a, b, c});
        }
        xml << "<submesh material=\"" << part.material << "\" usesharedvertices=\"false\">\n";
        xml << "<faces count=\"" << faces.size() << "\">\n";
        for (const std::array<int, 3>& face : faces) {
            xml << "<face v1=\"" << face[0] << "\" v2=\"" << face[1] << "\" v3=\"" << face[2] << "\"/>\n";
        }
        xml << "</faces>\n<geometry vertexcount=\"" << vertices.size() << "\">\n";
        xml << "<vertexbuffer positions=\"true\" normals=\"true\" texture_coords=\"1\">\n";
        for (const std::string& vertex : vertices) xml << vertex;
        xml << "</vertexbuffer>\n</geometry>\n</submesh>\n";
    }
    xml << "</submeshes>\n</mesh>\n";
    return xml.str();
}
