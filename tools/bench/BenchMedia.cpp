#include "BenchMedia.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const float pi = 3.14159265f;
const int checkerSquares = 8;

const char* const materialScript =
    "material BenchSphere\n"
    "{\n"
    "  technique\n"
    "  {\n"
    "    pass\n"
    "    {\n"
    "      ambient 0.5 0.5 0.5 1\n"
    "      diffuse 0.8 0.8 0.8 1\n"
    "      specular 0.3 0.3 0.3 1 25\n"
    "      texture_unit\n"
    "      {\n"
    "        texture BenchSphere.tga\n"
    "      }\n"
    "    }\n"
    "  }\n"
    "}\n";

// Uncompressed 24-bit TGA, rows from the bottom: a checkerboard over a colour gradient.
std::string checkerImage(int size) {
    std::string tga(18, '\0');
    tga[2] = 2;  // true colour, not compressed
    tga[12] = static_cast<char>(size & 0xff);
    tga[13] = static_cast<char>(size >> 8);
    tga[14] = static_cast<char>(size & 0xff);
    tga[15] = static_cast<char>(size >> 8);
    tga[16] = 24;
    const int square = size / checkerSquares;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool dark = ((x / square) + (y / square)) % 2 == 1;
            const int shade = dark ? 2 : 1;
            tga += static_cast<char>(255 * y / size / shade);  // blue
            tga += static_cast<char>(200 / shade);              // green
            tga += static_cast<char>(255 * x / size / shade);  // red
        }
    }
    return tga;
}

// Latitude bands from the south pole up, longitude from 0 round to 2 pi (the seam column is doubled
// so that texture coordinates run from 0 to 1); outward normals; counter-clockwise from outside.
std::string sphereMesh() {
    const int row = BenchMedia::slices + 1;
    std::ostringstream xml;
    xml << "<mesh>\n<submeshes>\n<submesh material=\"BenchSphere\">\n<faces count=\"" << BenchMedia::triangleCount
        << "\">\n";
    auto face = [&](int a, int b, int c) { xml << "<face v1=\"" << a << "\" v2=\"" << b << "\" v3=\"" << c << "\"/>\n"; };
    for (int i = 0; i < BenchMedia::stacks; ++i) {
        for (int j = 0; j < BenchMedia::slices; ++j) {
            const int a = i * row + j, b = a + 1, c = a + row + 1, d = a + row;
            if (i != 0) face(a, b, c);
            if (i != BenchMedia::stacks - 1) face(a, c, d);
        }
    }
    xml << "</faces>\n<geometry vertexcount=\"" << BenchMedia::vertexCount << "\">\n"
        << "<vertexbuffer positions=\"true\" normals=\"true\" texture_coords=\"1\">\n";
    for (int i = 0; i <= BenchMedia::stacks; ++i) {
        const float v = static_cast<float>(i) / BenchMedia::stacks;
        const float latitude = (v - 0.5f) * pi;
        for (int j = 0; j <= BenchMedia::slices; ++j) {
            const float u = static_cast<float>(j) / BenchMedia::slices;
            const float longitude = u * 2 * pi;
            const float nx = std::cos(latitude) * std::sin(longitude);
            const float ny = std::sin(latitude);
            const float nz = std::cos(latitude) * std::cos(longitude);
            const float r = BenchMedia::radius;
            xml << "<vertex><position x=\"" << r * nx << "\" y=\"" << r * ny << "\" z=\"" << r * nz << "\"/>"
                << "<normal x=\"" << nx << "\" y=\"" << ny << "\" z=\"" << nz << "\"/>"
                << "<texcoord u=\"" << u << "\" v=\"" << v << "\"/></vertex>\n";
        }
    }
    xml << "</vertexbuffer>\n</geometry>\n</submesh>\n</submeshes>\n</mesh>\n";
    return xml.str();
}

}  // namespace

BenchMedia::BenchMedia() {
    char pattern[] = "/tmp/vorbel-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::cerr << "cannot create a temporary media folder" << std::endl;
        return;
    }
    directory = pattern;
    write("this is media.txt", "benchmark media\n");
    write("meshes/Scene.material", materialScript);
    write("textures/BenchSphere.tga", checkerImage(textureSize));
    const std::string mesh = sphereMesh();
    meshFileBytes = mesh.size();
    write(std::string("meshes/") + meshFileName, mesh);
}

BenchMedia::~BenchMedia() {
    if (directory.empty()) return;
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

void BenchMedia::write(const std::string& relativePath, const std::string& content) const {
    const fs::path path = fs::path(directory) / "media" / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}
