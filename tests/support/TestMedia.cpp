#include "support/TestMedia.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/ProcessLibraries.h"

namespace fs = std::filesystem;

TestMedia::TestMedia() {
    char pattern[] = "/tmp/vorbel-test-XXXXXX";
    directory = mkdtemp(pattern);
    fs::create_directories(directory + "/media/meshes");
    fs::create_directories(directory + "/media/textures");
    write("this is media.txt", "test media\n");
}

TestMedia::~TestMedia() {
    stopProcessLibraries();
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

void TestMedia::write(const std::string& relativePath, const std::string& content) const {
    const fs::path path = fs::path(directory) / "media" / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

void TestMedia::startLibraries() const { startProcessLibraries(prefix()); }

void TestMedia::writeBoxMesh(const std::string& name, float hx, float hy, float hz, const std::string& material) const {
    // Four corners per face so that every face has its own normal and texture coordinates.
    const float normals[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    std::ostringstream xml;
    xml << "<mesh><submeshes><submesh" << (material.empty() ? "" : " material=\"" + material + "\"") << ">";
    xml << "<faces count=\"12\">";
    for (int f = 0; f < 6; ++f) {
        const int v = 4 * f;
        xml << "<face v1=\"" << v << "\" v2=\"" << v + 1 << "\" v3=\"" << v + 2 << "\"/>";
        xml << "<face v1=\"" << v << "\" v2=\"" << v + 2 << "\" v3=\"" << v + 3 << "\"/>";
    }
    xml << "</faces><geometry vertexcount=\"24\"><vertexbuffer positions=\"true\" normals=\"true\" texture_coords=\"1\">";
    const float half[3] = {hx, hy, hz};
    for (const auto& n : normals) {
        // Two axes span the face; walk its corners counter-clockwise seen from outside.
        int axis = n[0] != 0 ? 0 : (n[1] != 0 ? 1 : 2);
        float sign = n[axis];
        int u = (axis + 1) % 3, w = (axis + 2) % 3;
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& corner : corners) {
            float p[3];
            p[axis] = sign * half[axis];
            p[u] = corner[0] * half[u] * sign;
            p[w] = corner[1] * half[w];
            xml << "<vertex><position x=\"" << p[0] << "\" y=\"" << p[1] << "\" z=\"" << p[2] << "\"/>";
            xml << "<normal x=\"" << n[0] << "\" y=\"" << n[1] << "\" z=\"" << n[2] << "\"/>";
            xml << "<texcoord u=\"" << (corner[0] + 1) / 2 << "\" v=\"" << (corner[1] + 1) / 2 << "\"/></vertex>";
        }
    }
    xml << "</vertexbuffer></geometry></submesh></submeshes></mesh>";
    write("meshes/" + name, xml.str());
}

void TestMedia::writeKartMeshes() const {
    for (const char* body : {"VorbelC", "VorbelL2", "VorbelL3", "VorbelL4", "VorbelL5", "VorbelL6", "VorbelL7"}) {
        writeBoxMesh(std::string(body) + ".mesh.xml", 1.5f, 0.8f, 2.25f);
    }
    writeBoxMesh("Wheel.mesh.xml", 0.25f, 0.4f, 0.4f);
    writeBoxMesh("DustSphere.mesh.xml", 0.5f, 0.5f, 0.5f);
}

CapturedStream::CapturedStream(std::ostream& stream) : stream(stream), captured(), original(stream.rdbuf(captured.rdbuf())) {}

CapturedStream::~CapturedStream() { stream.rdbuf(original); }

int CapturedStream::count(const std::string& needle) const {
    std::istringstream lines(captured.str());
    int found = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(needle) != std::string::npos) ++found;
    }
    return found;
}

std::string sharedTestData() {
    const std::string path = std::string(VORBEL_SHARED_DIR) + "/testdata/thirdparty";
    return fs::is_directory(path) ? path : "";
}

std::string builtMediaPrefix() { return std::string(VORBEL_BUILD_DIR) + "/"; }

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
