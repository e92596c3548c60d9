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

// From the upper right, in front of the viewer.
const float lightDirection[] = {0.3f, 0.4f, 1.0f, 0.0f};
const float lightAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
const float lightDiffuse[] = {0.9f, 0.9f, 0.9f, 1.0f};
const float lightSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};

const float eyeDistance = 20.0f;
const float sheetHalfSize = 6.0f;
const float normalLean = 0.13f;  // per unit from the centre, so that the light shades across the sheet
const int sheetCells = 12;
const int textureSize = 6;  // rows of 18 bytes: GL's usual 4-byte row alignment would skew them

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

// A flat submesh at z = 0 of cells x cells squares over [x0, x1] x [y0, y1], two counter-clockwise
// triangles (seen from +z) each; the sheet's normals lean away from the centre, the tile's face +z.
std::string gridSubmesh(const char* material, int cells, float x0, float x1, float y0, float y1, bool sheet) {
    std::ostringstream xml;
    xml << "<submesh material=\"" << material << "\"><faces count=\"" << 2 * cells * cells << "\">";
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const int a = j * (cells + 1) + i, b = a + 1, c = a + cells + 2, d = a + cells + 1;
            xml << "<face v1=\"" << a << "\" v2=\"" << b << "\" v3=\"" << c << "\"/><face v1=\"" << a << "\" v2=\"" << c
                << "\" v3=\"" << d << "\"/>";
        }
    }
    xml << "</faces><geometry vertexcount=\"" << (cells + 1) * (cells + 1) << "\"><vertexbuffer positions=\"true\" "
        << "normals=\"true\"" << (sheet ? " texture_coords=\"1\"" : "") << ">";
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            const float u = static_cast<float>(i) / cells, v = static_cast<float>(j) / cells;
            const float x = x0 + u * (x1 - x0), y = y0 + v * (y1 - y0), lean = sheet ? normalLean : 0;
            const float length = std::sqrt(1 + (x * x + y * y) * lean * lean);  // GL does not normalise them
            xml << "<vertex><position x=\"" << x << "\" y=\"" << y << "\" z=\"0\"/><normal x=\"" << x * lean / length
                << "\" y=\"" << y * lean / length << "\" z=\"" << 1 / length << "\"/>";
            if (sheet) xml << "<texcoord u=\"" << u << "\" v=\"" << v << "\"/>";
            xml << "</vertex>";
        }
    }
    xml << "</vertexbuffer></geometry></submesh>";
    return xml.str();
}

std::string sheetMeshXml() {
    return "<mesh><submeshes>" + gridSubmesh("Sheet", sheetCells, -sheetHalfSize, sheetHalfSize, -sheetHalfSize,
                                             sheetHalfSize, true) +
           gridSubmesh("Plain", 1, 7, 10, -1.5f, 1.5f, false) + "</submeshes></mesh>";
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
