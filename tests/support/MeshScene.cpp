#include "support/MeshScene.h"

#include <cmath>
#include <sstream>

#include <GL/glew.h>

#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "game/Game.h"
#include "game/Light.h"
#include "support/GLTestWindow.h"
#include "support/TestMedia.h"

namespace {

// From the upper right, in front of the viewer; directional, so the sheet's dome shades across.
const float lightDirection[] = {0.3f, 0.4f, 1.0f, 0.0f};
const float lightAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
const float lightDiffuse[] = {0.9f, 0.9f, 0.9f, 1.0f};
const float lightSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};

const float eyeDistance = 20.0f;
const float sheetHalfSize = 6.0f;
const float domeHeight = 3.0f;
const int sheetCells = 12;
const int textureSize = 8;
const float pi = 3.14159265f;

const char* const materialScript =
    "material Sheet { technique { pass { ambient 0.3 0.3 0.3 1 diffuse 0.7 0.7 0.7 1 specular 0.2 0.2 0.2 1 20\n"
    "  texture_unit { texture Quadrants.tga } } } }\n"
    "material Plain { ambient 0.6 0.6 0.6 1 diffuse 0.6 0.6 0.6 1 specular 0 0 0 1 0 }\n";

// Lower left red, lower right green, upper left blue, upper right yellow.
std::string quadrantImage() {
    const uint8_t quadrantBgr[4][3] = {{40, 40, 220}, {40, 200, 40}, {220, 60, 40}, {40, 200, 220}};
    std::vector<uint8_t> pixels;
    for (int y = 0; y < textureSize; ++y) {
        for (int x = 0; x < textureSize; ++x) {
            const uint8_t* bgr = quadrantBgr[(y >= textureSize / 2 ? 2 : 0) + (x >= textureSize / 2 ? 1 : 0)];
            pixels.insert(pixels.end(), bgr, bgr + 3);
        }
    }
    return tgaImage(textureSize, textureSize, 24, pixels);
}

struct Vertex {
    float x, y, z, nx, ny, nz, u, v;
};

void writeSubmesh(std::ostringstream& xml, const char* material, const std::vector<Vertex>& vertices,
                  const std::vector<unsigned int>& indices, bool texCoords) {
    xml << "<submesh material=\"" << material << "\">\n<faces count=\"" << indices.size() / 3 << "\">\n";
    for (size_t i = 0; i < indices.size(); i += 3) {
        xml << "<face v1=\"" << indices[i] << "\" v2=\"" << indices[i + 1] << "\" v3=\"" << indices[i + 2] << "\"/>\n";
    }
    xml << "</faces>\n<geometry vertexcount=\"" << vertices.size() << "\">\n"
        << "<vertexbuffer positions=\"true\" normals=\"true\"" << (texCoords ? " texture_coords=\"1\"" : "") << ">\n";
    for (const Vertex& v : vertices) {
        xml << "<vertex><position x=\"" << v.x << "\" y=\"" << v.y << "\" z=\"" << v.z << "\"/>"
            << "<normal x=\"" << v.nx << "\" y=\"" << v.ny << "\" z=\"" << v.nz << "\"/>";
        if (texCoords) xml << "<texcoord u=\"" << v.u << "\" v=\"" << v.v << "\"/>";
        xml << "</vertex>\n";
    }
    xml << "</vertexbuffer>\n</geometry>\n</submesh>\n";
}

// Two counter-clockwise triangles (seen from +z) per cell of a grid of (cells + 1)^2 vertices.
std::vector<unsigned int> gridIndices(int cells) {
    std::vector<unsigned int> indices;
    const unsigned int row = static_cast<unsigned int>(cells + 1);
    for (unsigned int j = 0; j < static_cast<unsigned int>(cells); ++j) {
        for (unsigned int i = 0; i < static_cast<unsigned int>(cells); ++i) {
            const unsigned int a = j * row + i, b = a + 1, c = a + row + 1, d = a + row;
            indices.insert(indices.end(), {a, b, c, a, c, d});
        }
    }
    return indices;
}

std::string sheetMeshXml() {
    std::vector<Vertex> dome;
    const float k = pi / (2 * sheetHalfSize);  // the dome falls to 0 at the rim
    for (int j = 0; j <= sheetCells; ++j) {
        for (int i = 0; i <= sheetCells; ++i) {
            const float u = static_cast<float>(i) / sheetCells, v = static_cast<float>(j) / sheetCells;
            const float x = (2 * u - 1) * sheetHalfSize, y = (2 * v - 1) * sheetHalfSize;
            const float z = domeHeight * std::cos(k * x) * std::cos(k * y);
            const float dzdx = -domeHeight * k * std::sin(k * x) * std::cos(k * y);
            const float dzdy = -domeHeight * k * std::cos(k * x) * std::sin(k * y);
            const float length = std::sqrt(dzdx * dzdx + dzdy * dzdy + 1);
            dome.push_back({x, y, z, -dzdx / length, -dzdy / length, 1 / length, u, v});
        }
    }
    const std::vector<Vertex> tile = {{7, -1.5f, 0, 0, 0, 1, 0, 0},
                                      {10, -1.5f, 0, 0, 0, 1, 0, 0},
                                      {7, 1.5f, 0, 0, 0, 1, 0, 0},
                                      {10, 1.5f, 0, 0, 0, 1, 0, 0}};
    std::ostringstream xml;
    xml << "<mesh>\n<submeshes>\n";
    writeSubmesh(xml, "Sheet", dome, gridIndices(sheetCells), true);
    writeSubmesh(xml, "Plain", tile, gridIndices(1), false);
    xml << "</submeshes>\n</mesh>\n";
    return xml.str();
}

}  // namespace

MeshScene::MeshScene(GLTestWindow& window) : window(window), game(new Game()) {
    window.media.write("meshes/Scene.material", materialScript);
    window.media.write("textures/Quadrants.tga", quadrantImage());
    window.media.startLibraries();
    light.reset(new Light(lightDirection, lightAmbient, lightDiffuse, lightSpecular, 1.0f, 0.0f, 0.0f, GL_LIGHT0));
    game->addLight(light.get());
    game->initGL();
}

MeshScene::~MeshScene() = default;

boost::shared_ptr<Mesh> MeshScene::loadSheet(const std::string& fileName) {
    window.media.write("meshes/" + fileName, sheetMeshXml());
    return MeshLibrary::instance().loadMesh(fileName);
}

std::vector<uint8_t> MeshScene::draw(Mesh& mesh) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -eyeDistance);
    mesh.render();
    glFinish();
    return window.image();
}
