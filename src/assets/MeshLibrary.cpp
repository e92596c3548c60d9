#include "assets/MeshLibrary.h"

#include <cassert>
#include <cmath>
#include <cstring>
#include <iostream>
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
    explicit MeshReader(const TiXmlDocument& document) : document(document) {}
    ~MeshReader() {
        for (SubmeshData& submesh : submeshes) {
            delete submesh.geometry;
            delete submesh.vertexProperties;
        }
    }

    bool read();
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

    const TiXmlDocument& document;
};

bool MeshReader::read() {
    const TiXmlElement* submesh =
        TiXmlHandle(const_cast<TiXmlDocument*>(&document)).FirstChild("mesh").FirstChild("submeshes").FirstChild("submesh").ToElement();
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

}  // namespace

MeshLibrary::MeshLibrary(const std::string& basePath) : basePath(basePath) {}

MeshLibrary& MeshLibrary::instance() {
    assert(current && "startProcessLibraries creates the mesh library");
    return *current;
}

boost::shared_ptr<Mesh> MeshLibrary::readMesh(const TiXmlDocument& document, const std::string& path) {
    boost::shared_ptr<Mesh> mesh(new Mesh());
    MeshReader reader(document);
    if (!reader.read()) {
        std::cerr << "ERROR: failed to load mesh file: " << path << " (" << reader.problem << ")" << std::endl;
        return mesh;
    }
    if (!reader.notes.empty()) std::cerr << "WARNING: mesh file " << path << ": " << joined(reader.notes) << std::endl;
    for (SubmeshData& submesh : reader.submeshes) {
        mesh->addPatch(boost::shared_ptr<MeshPatch>(new MeshPatch(submesh.geometry, submesh.vertexProperties,
                                                                  MaterialLibrary::instance().getMaterial(submesh.material))));
        submesh.geometry = nullptr;
        submesh.vertexProperties = nullptr;
    }
    return mesh;
}

boost::shared_ptr<Mesh> MeshLibrary::loadMesh(const std::string& name) {
    const std::string path = basePath + name;
    boost::shared_ptr<Mesh>& cached = cache[path];
    if (!cached) {
        TiXmlDocument document;
        if (loadXmlFile(document, path)) {
            cached = readMesh(document, path);
        } else {
            // A failed load is cached as an empty mesh, so it is reported once.
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
