#include "support/TestMedia.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/ProcessLibraries.h"
#include "support/TestWorld.h"

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

void TestMedia::writeBoxMesh(const std::string& name, float hx, float hy, float hz) const {
    std::vector<float> positions;
    std::vector<unsigned int> indices;
    appendBox(positions, indices, btVector3(hx, hy, hz), btVector3(0, 0, 0));
    std::ostringstream xml;
    xml << "<mesh><submeshes><submesh><faces count=\"12\">";
    for (size_t i = 0; i < indices.size(); i += 3)
        xml << "<face v1=\"" << indices[i] << "\" v2=\"" << indices[i + 1] << "\" v3=\"" << indices[i + 2] << "\"/>";
    xml << "</faces><geometry vertexcount=\"8\"><vertexbuffer positions=\"true\">";
    for (size_t i = 0; i < positions.size(); i += 3) {
        xml << "<vertex><position x=\"" << positions[i] << "\" y=\"" << positions[i + 1] << "\" z=\""
            << positions[i + 2] << "\"/></vertex>";
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

std::string tgaImage(int width, int height, int bitsPerPixel, const std::vector<uint8_t>& pixels,
                     const std::vector<uint8_t>& palette) {
    const size_t entries = palette.size() / 3;
    std::string tga(18, '\0');
    tga[1] = palette.empty() ? 0 : 1;  // colour map present
    tga[2] = palette.empty() ? 2 : 1;  // true colour or colour-mapped, not compressed
    tga[5] = static_cast<char>(entries & 0xFF);
    tga[6] = static_cast<char>(entries >> 8);
    tga[7] = palette.empty() ? 0 : 24;
    tga[12] = static_cast<char>(width & 0xFF);
    tga[13] = static_cast<char>(width >> 8);
    tga[14] = static_cast<char>(height & 0xFF);
    tga[15] = static_cast<char>(height >> 8);
    tga[16] = static_cast<char>(bitsPerPixel);
    tga.append(palette.begin(), palette.end());
    return tga.append(pixels.begin(), pixels.end());
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
