#include "assets/MeshLibrary.h"

#include <cassert>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <vector>

#include <tinyxml.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "assets/MeshPatchVertexProperties.h"
#include "assets/XmlFile.h"

MeshLibrary* MeshLibrary::current = nullptr;

namespace {

// Coordinates beyond this are no part of any world the game can hold.
const float largestCoordinate = 1.0e6f;

// What one submesh of the file holds, read and checked before any patch is built.
struct SubmeshData {
    std::string material;
    MeshPatchGeometry* geometry = nullptr;
    MeshPatchVertexProperties* vertexProperties = nullptr;
};

// Reads a mesh file's submeshes. A file that breaks the format where nothing sound can be
// taken from it is rejected (`problem`); smaller faults are repaired and noted in `notes`.
class MeshReader {
public:
    explicit MeshReader(const TiXmlDocument* document = nullptr) : document(document) {}
    ~MeshReader() {
        for (SubmeshData& submesh : submeshes) {
            delete submesh.geometry;
            delete submesh.vertexProperties;
        }
    }

    bool read();
    // Reads a file in the compact layout straight from its bytes; false, with nothing kept, when the
    // text departs from that layout anywhere (the general reader then takes it).
    bool readCompact(const std::string& text);
    std::vector<SubmeshData> submeshes;
    std::string problem;
    std::set<std::string> notes;

private:
    bool readSubmesh(const TiXmlElement* element, int number);
    bool fail(int submesh, const std::string& what) {
        problem = "submesh " + std::to_string(submesh) + " " + what;
        return false;
    }
    // Reads up to `announced` sibling elements from `first`; returns how many exist, noting a mismatch.
    uint32_t countElements(const TiXmlElement* first, int announced, int submesh, const char* what);
    float readFloat(const TiXmlElement* element, const char* name);
    void readTriple(const TiXmlElement* element, const char* child, const char* names[3], float* out, int submesh);

    const TiXmlDocument* document;
};

// The compact layout: the generated files' one element per line, attributes in a fixed order,
// names of letters, digits and underscores, counts that tell the truth, plain decimal numbers in
// the accepted range and indices below the vertex count. Such a text parses to the document the
// general reader expects, without a fault to note, so reading it directly gives the same mesh
// without building the document, which costs most of the game's start-up.
class CompactScan {
public:
    explicit CompactScan(const std::string& text) : text(text) {}

    bool atEnd() const { return at == text.size(); }
    bool peek(const char* literal) const { return text.compare(at, std::strlen(literal), literal) == 0; }
    bool expect(const char* literal) {
        if (!peek(literal)) return false;
        at += std::strlen(literal);
        return true;
    }
    // Up to the closing quote, which it passes.
    bool name(std::string& out) {
        const size_t start = at;
        while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_')) ++at;
        out.assign(text, start, at - start);
        return expect("\"");
    }
    // Up to nine digits, as atoi reads them, and the closing quote.
    bool count(uint32_t& out) {
        const size_t start = at;
        while (at < text.size() && at - start < maxCountDigits && std::isdigit(static_cast<unsigned char>(text[at]))) {
            ++at;
        }
        if (at == start) return false;
        out = static_cast<uint32_t>(std::atoi(text.c_str() + start));
        return expect("\"");
    }
    // An optional minus, digits and optional decimals, as sscanf reads them, in the accepted range;
    // and the closing quote.
    bool number(float& out) {
        const size_t start = at;
        if (at < text.size() && text[at] == '-') ++at;
        if (!digits()) return false;
        if (at < text.size() && text[at] == '.') {
            ++at;
            if (!digits()) return false;
        }
        out = static_cast<float>(std::strtod(text.c_str() + start, nullptr));
        return std::fabs(out) <= largestCoordinate && expect("\"");
    }

    static constexpr size_t maxCountDigits = 9;

private:
    bool digits() {
        const size_t start = at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
        return at > start;
    }

    const std::string& text;
    size_t at = 0;
};

bool MeshReader::readCompact(const std::string& text) {
    CompactScan scan(text);
    if (!scan.expect("<mesh>\n<submeshes>\n")) return false;
    while (scan.expect("<submesh material=\"")) {
        SubmeshData data;
        data.geometry = new MeshPatchGeometry();
        data.vertexProperties = new MeshPatchVertexProperties();
        submeshes.push_back(data);
        MeshPatchGeometry& patch = *data.geometry;
        MeshPatchVertexProperties& properties = *data.vertexProperties;
        uint32_t faceCount = 0, vertexCount = 0;
        if (!scan.name(submeshes.back().material) || !scan.expect(" usesharedvertices=\"false\">\n<faces count=\"") ||
            !scan.count(faceCount) || !scan.expect(">\n")) {
            return false;
        }
        std::vector<unsigned int> indices;
        while (scan.expect("<face v1=\"")) {
            uint32_t corners[3];
            if (!scan.count(corners[0]) || !scan.expect(" v2=\"") || !scan.count(corners[1]) ||
                !scan.expect(" v3=\"") || !scan.count(corners[2]) || !scan.expect("/>\n")) {
                return false;
            }
            indices.insert(indices.end(), corners, corners + 3);
        }
        if (indices.size() != static_cast<size_t>(faceCount) * 3 ||
            !scan.expect("</faces>\n<geometry vertexcount=\"") || !scan.count(vertexCount) ||
            !scan.expect(">\n<vertexbuffer positions=\"true\" normals=\"true\" texture_coords=\"1\">\n")) {
            return false;
        }
        std::vector<float> positions, normals, texCoords;
        while (scan.expect("<vertex><position x=\"")) {
            float v[8];
            if (!scan.number(v[0]) || !scan.expect(" y=\"") || !scan.number(v[1]) || !scan.expect(" z=\"") ||
                !scan.number(v[2]) || !scan.expect("/><normal x=\"") || !scan.number(v[3]) || !scan.expect(" y=\"") ||
                !scan.number(v[4]) || !scan.expect(" z=\"") || !scan.number(v[5]) || !scan.expect("/><texcoord u=\"") ||
                !scan.number(v[6]) || !scan.expect(" v=\"") || !scan.number(v[7]) || !scan.expect("/></vertex>\n")) {
                return false;
            }
            positions.insert(positions.end(), v, v + 3);
            normals.insert(normals.end(), v + 3, v + 6);
            texCoords.insert(texCoords.end(), v + 6, v + 8);
        }
        if (positions.size() != static_cast<size_t>(vertexCount) * 3 ||
            !scan.expect("</vertexbuffer>\n</geometry>\n</submesh>\n")) {
            return false;
        }
        for (unsigned int index : indices) {
            if (index >= vertexCount) return false;
        }
        patch.vertexCount = vertexCount;
        patch.indexCount = faceCount * 3;
        patch.indices.reset(new unsigned int[patch.indexCount]());
        std::copy(indices.begin(), indices.end(), patch.indices.get());
        patch.positions.reset(new float[positions.size()]());
        std::copy(positions.begin(), positions.end(), patch.positions.get());
        properties.normals.reset(new float[normals.size()]());
        std::copy(normals.begin(), normals.end(), properties.normals.get());
        properties.texCoords.reset(new float[texCoords.size()]());
        std::copy(texCoords.begin(), texCoords.end(), properties.texCoords.get());
    }
    return scan.expect("</submeshes>\n</mesh>\n") && scan.atEnd();
}

bool MeshReader::read() {
    const TiXmlElement* submesh =
        TiXmlHandle(const_cast<TiXmlDocument*>(document)).FirstChild("mesh").FirstChild("submeshes").FirstChild("submesh").ToElement();
    for (int number = 0; submesh; submesh = submesh->NextSiblingElement(), ++number) {
        if (!readSubmesh(submesh, number)) return false;
    }
    return true;
}

uint32_t MeshReader::countElements(const TiXmlElement* first, int announced, int submesh, const char* what) {
    uint32_t present = 0;
    const TiXmlElement* element = first;
    while (element && present < static_cast<uint32_t>(announced)) {
        ++present;
        element = element->NextSiblingElement();
    }
    const std::string where = "submesh " + std::to_string(submesh) + " ";
    if (present < static_cast<uint32_t>(announced)) {
        notes.insert(where + "announces " + std::to_string(announced) + " " + what + " but holds " +
                     std::to_string(present));
    } else if (element) {
        notes.insert(where + "holds more " + what + " than the " + std::to_string(announced) + " it announces");
    }
    return present;
}

float MeshReader::readFloat(const TiXmlElement* element, const char* name) {
    float value = 0.0f;
    if (element->QueryFloatAttribute(name, &value) != TIXML_SUCCESS) return 0.0f;
    if (!std::isfinite(value) || std::fabs(value) > largestCoordinate) {
        notes.insert("values that are not finite or out of range are read as 0");
        return 0.0f;
    }
    return value;
}

void MeshReader::readTriple(const TiXmlElement* element, const char* child, const char* names[3], float* out,
                            int submesh) {
    const TiXmlElement* values = element->FirstChildElement(child);
    if (!values) {
        notes.insert("submesh " + std::to_string(submesh) + " has vertices without " + child + ", read as 0");
        return;
    }
    for (int k = 0; k < 3 && names[k]; ++k) out[k] = readFloat(values, names[k]);
}

bool MeshReader::readSubmesh(const TiXmlElement* element, int number) {
    const TiXmlElement* faces = element->FirstChildElement("faces");
    if (!faces) return fail(number, "has no faces");
    const TiXmlElement* geometry = element->FirstChildElement("geometry");
    if (!geometry) return fail(number, "has no geometry of its own");
    const TiXmlElement* buffer = geometry->FirstChildElement("vertexbuffer");
    if (!buffer) return fail(number, "has no vertexbuffer");
    const char* positions = buffer->Attribute("positions");
    if (!positions || std::strcmp(positions, "true") != 0) return fail(number, "has no vertex positions");
    const char* normals = buffer->Attribute("normals");
    const char* texCoords = buffer->Attribute("texture_coords");
    const bool wantNormals = normals && std::strcmp(normals, "true") == 0;
    const bool wantTexCoords = texCoords && std::strcmp(texCoords, "1") == 0;

    int announcedFaces = 0, announcedVertices = 0;
    faces->Attribute("count", &announcedFaces);
    geometry->Attribute("vertexcount", &announcedVertices);
    if (announcedFaces < 0) return fail(number, "has a negative face count");
    if (announcedVertices < 0) return fail(number, "has a negative vertex count");

    // Counts that lie are replaced by what the file really holds, so a huge count allocates nothing.
    const TiXmlElement* firstFace = faces->FirstChildElement("face");
    const TiXmlElement* firstVertex = buffer->FirstChildElement("vertex");
    const uint32_t faceCount = countElements(firstFace, announcedFaces, number, "faces");
    const uint32_t vertexCount = countElements(firstVertex, announcedVertices, number, "vertices");

    SubmeshData data;
    data.material = element->Attribute("material") ? element->Attribute("material") : "";
    data.geometry = new MeshPatchGeometry();
    data.vertexProperties = new MeshPatchVertexProperties();
    submeshes.push_back(data);
    MeshPatchGeometry& patch = *data.geometry;
    MeshPatchVertexProperties& properties = *data.vertexProperties;
    patch.vertexCount = vertexCount;
    patch.indexCount = faceCount * 3;
    patch.indices.reset(new unsigned int[patch.indexCount]());
    patch.positions.reset(new float[vertexCount * 3]());
    if (wantNormals) properties.normals.reset(new float[vertexCount * 3]());
    if (wantTexCoords) properties.texCoords.reset(new float[vertexCount * 2]());

    const TiXmlElement* face = firstFace;
    for (uint32_t i = 0; i < faceCount; ++i, face = face->NextSiblingElement()) {
        const char* corners[3] = {"v1", "v2", "v3"};
        for (int k = 0; k < 3; ++k) {
            int index = 0;
            face->Attribute(corners[k], &index);
            if (index < 0 || static_cast<uint32_t>(index) >= vertexCount) {
                return fail(number, "face " + std::to_string(i) + " uses vertex " + std::to_string(index) + " of " +
                                        std::to_string(vertexCount));
            }
            patch.indices[3 * i + k] = static_cast<unsigned int>(index);
        }
    }

    const char* xyz[3] = {"x", "y", "z"};
    const char* uv[3] = {"u", "v", nullptr};
    const TiXmlElement* vertex = firstVertex;
    for (uint32_t i = 0; i < vertexCount; ++i, vertex = vertex->NextSiblingElement()) {
        readTriple(vertex, "position", xyz, &patch.positions[3 * i], number);
        if (wantNormals) readTriple(vertex, "normal", xyz, &properties.normals[3 * i], number);
        if (wantTexCoords) readTriple(vertex, "texcoord", uv, &properties.texCoords[2 * i], number);
    }
    return true;
}

std::string joined(const std::set<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes) text += (text.empty() ? "" : "; ") + note;
    return text;
}

// The patches of what the reader took from the file, which they now own.
void addPatches(Mesh& mesh, MeshReader& reader) {
    for (SubmeshData& submesh : reader.submeshes) {
        mesh.addPatch(boost::shared_ptr<MeshPatch>(new MeshPatch(submesh.geometry, submesh.vertexProperties,
                                                                 MaterialLibrary::instance().getMaterial(submesh.material))));
        submesh.geometry = nullptr;
        submesh.vertexProperties = nullptr;
    }
}

}  // namespace

MeshLibrary::MeshLibrary(const std::string& basePath) : basePath(basePath) {}

MeshLibrary& MeshLibrary::instance() {
    assert(current && "startProcessLibraries creates the mesh library");
    return *current;
}

boost::shared_ptr<Mesh> MeshLibrary::readMesh(const TiXmlDocument& document, const std::string& path) {
    boost::shared_ptr<Mesh> mesh(new Mesh());
    MeshReader reader(&document);
    if (!reader.read()) {
        std::cerr << "ERROR: failed to load mesh file: " << path << " (" << reader.problem << ")" << std::endl;
        return mesh;
    }
    if (!reader.notes.empty()) std::cerr << "WARNING: mesh file " << path << ": " << joined(reader.notes) << std::endl;
    addPatches(*mesh, reader);
    return mesh;
}

boost::shared_ptr<Mesh> MeshLibrary::readMeshText(const std::string& text, const std::string& path) {
    MeshReader compact;
    if (compact.readCompact(text)) {
        boost::shared_ptr<Mesh> mesh(new Mesh());
        addPatches(*mesh, compact);
        return mesh;
    }
    TiXmlDocument document;
    if (parseXmlText(document, text)) return readMesh(document, path);
    std::cerr << "ERROR: failed to load mesh file: " << path << std::endl;
    return boost::shared_ptr<Mesh>(new Mesh());
}

boost::shared_ptr<Mesh> MeshLibrary::loadMesh(const std::string& name) {
    const std::string path = basePath + name;
    boost::shared_ptr<Mesh>& cached = cache[path];
    if (!cached) {
        // A failed load is cached as an empty mesh, so it is reported once.
        std::ifstream file(path, std::ios::binary);
        if (file) {
            const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            cached = readMeshText(text, path);
        } else {
            std::cerr << "ERROR: failed to load mesh file: " << path << std::endl;
            cached.reset(new Mesh());
        }
    }
    // Computed once here, the bounding radius is handed to every copy instead of each copy
    // building a triangle tree of its own to find it.
    cached->getBoundingRadius();
    boost::shared_ptr<Mesh> copy(new Mesh());
    static_cast<Renderable&>(*copy) = static_cast<const Renderable&>(*cached);
    copy->displayList = 0;  // a list belongs to the object that recorded it
    copy->patches = cached->patches;
    return copy;
}
