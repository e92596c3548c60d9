#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "assets/MeshPatchProperties.h"
#include "assets/Texture.h"
#include "game/Game.h"
#include "game/KeyInput.h"
#include "game/Light.h"
#include "game/RenderSettings.h"
#include "support/GLTestWindow.h"
#include "support/ImageChecks.h"

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
const int checksSize = 32;  // texels a side of a black and white checkerboard, one texel a check

const char* const materialScript =
    "material Sheet { technique { pass { ambient 0.3 0.3 0.3 1 diffuse 0.7 0.7 0.7 1 specular 0.2 0.2 0.2 1 20\n"
    "  texture_unit { texture Quadrants.tga } } } }\n"
    "material Plain { ambient 0.6 0.6 0.6 1 diffuse 0.6 0.6 0.6 1 specular 0 0 0 1 0 }\n"
    "material Checks { texture Checks.tga }\n";

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

std::string checksImage() {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < checksSize * checksSize; ++i) pixels.insert(pixels.end(), 3, (i / checksSize + i) % 2 * 255);
    return tgaImage(checksSize, checksSize, 24, pixels);
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
           gridSubmesh("Plain", 1, 7, 10, -1.5f, 1.5f, false) +
           gridSubmesh("Checks", 1, 7.5f, 8, 3, 3.5f, true) + "</submeshes></mesh>";
}

// The same triangles reach the rasteriser in every mode; rounding may still differ a little.
const int modeTolerance = 3;
const float pixelsPerUnit = 30.14f;  // at the sheet's distance

Rgb at(const std::vector<uint8_t>& image, const int (&point)[2]) { return pixelAt(image, point[0], point[1]); }

void use(int vertexMode, bool displayLists) {
    renderSettings.vertexMode = vertexMode;
    renderSettings.displayLists = displayLists;
}


// Window pixels well inside each quadrant of the sheet, in the order lower left (red texels), lower
// right (green), upper left (blue), upper right (yellow); one on the plain tile; the centre.
const int quadrantPoints[4][2] = {{422, 294}, {602, 294}, {422, 474}, {602, 474}};
const int plainTilePoint[2] = {768, 384};
const int centrePoint[2] = {512, 384};

// A lit scene: the window's media get a material script with a textured material "Sheet" (a 6x6
// image of four coloured quadrants) and an untextured grey "Plain"; GL is set up the way the game
// does it, with one directional light.
struct MeshDrawing : ::testing::Test {
    MeshDrawing() : game(new Game()) {
        window.media.write("meshes/Scene.material", materialScript);
        window.media.write("textures/Quadrants.tga", quadrantImage());
        window.media.write("textures/Checks.tga", checksImage());
        window.media.startLibraries();
        light.reset(new Light(lightDirection, lightAmbient, lightDiffuse, lightSpecular, 1.0f, 0.0f, 0.0f, GL_LIGHT0));
        game->addLight(light.get());
        game->initGL();
    }

    // Writes the sheet mesh file under `fileName` and loads it through the mesh library. Each name is
    // a file of its own, so its patches (and their display lists and buffers) are new. The sheet lies
    // over x, y in [-6, 6] with texture coordinates from 0 to 1 across it (material "Sheet"); beside
    // it on the right, from x = 7 to 10, lies a flat tile of material "Plain" without texture
    // coordinates, as a second submesh; above that, from x = 7.5 to 8, a small tile of material
    // "Checks", whose checks are finer than the window's pixels there.
    boost::shared_ptr<Mesh> loadSheet(const std::string& fileName) {
        window.media.write("meshes/" + fileName, sheetMeshXml());
        return MeshLibrary::instance().loadMesh(fileName);
    }

    // Clears the window, draws `mesh` 20 units in front of the eye and returns the image.
    std::vector<uint8_t> draw(Mesh& mesh) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -eyeDistance);
        mesh.render();
        glFinish();
        return window.image();
    }

    GLTestWindow window;
    std::unique_ptr<Game> game;
    std::unique_ptr<Light> light;
};

}  // namespace

TEST_F(MeshDrawing, EveryVertexModeDrawsTheSameTexturedLitImageAndEveryDrawingKeyReachesIt) {
    ASSERT_TRUE(renderSettings.vertexBuffersSupported);
    // The first drawing of all records a list in immediate mode, and binds the texture for the first
    // time while it does: the image must go to GL before the list starts, not into the list.
    boost::shared_ptr<Mesh> reference = loadSheet("Reference.mesh.xml");
    const boost::shared_ptr<Texture> texture = MaterialLibrary::instance().getMaterial("Sheet")->texture;
    ASSERT_FALSE(texture->uploaded);
    use(0, true);
    const std::vector<uint8_t> expected = draw(*reference);

    // Each quadrant shows its texel colour (red, green, blue, yellow), the plain tile beside it is
    // grey (so texturing was switched off after the sheet), and the light shades across the sheet.
    const Rgb red = at(expected, quadrantPoints[0]), green = at(expected, quadrantPoints[1]);
    const Rgb blue = at(expected, quadrantPoints[2]), yellow = at(expected, quadrantPoints[3]);
    EXPECT_GT(red.r, 2 * std::max(red.g, red.b));
    EXPECT_GT(green.g, 2 * std::max(green.r, green.b));
    EXPECT_GT(blue.b, 2 * std::max(blue.r, blue.g));
    EXPECT_GT(std::min(yellow.r, yellow.g), 2 * yellow.b);
    const Rgb plain = at(expected, plainTilePoint);
    EXPECT_TRUE(plain.r > 100 && std::abs(plain.r - plain.g) <= 2 && std::abs(plain.g - plain.b) <= 2);
    const ChannelRange shading = redRange(expected, {360, 230, 470, 330});  // inside the red quadrant
    EXPECT_GT(shading.high - shading.low, 12);

    // Buffers first: what they leave bound must not disturb the vertex arrays after them.
    const std::pair<int, bool> settings[] = {{2, true}, {2, false}, {1, false}, {1, true}, {0, false}};
    for (const auto& [mode, lists] : settings) {
        const std::string name = "Sheet" + std::to_string(mode) + (lists ? "L" : "");
        SCOPED_TRACE(name);
        use(mode, lists);
        // A file of its own, so that a list is recorded in this mode and not replayed from another.
        boost::shared_ptr<Mesh> mesh = loadSheet(name + ".mesh.xml");
        EXPECT_LE(largestDifference(draw(*mesh), expected), modeTolerance);  // records a list, if any
        EXPECT_LE(largestDifference(draw(*mesh), expected), modeTolerance);  // replays it
        EXPECT_EQ(mesh->patches[0]->displayList != 0, lists && mode != 2);
    }

    // The reference sheet gets its buffers too, then shrinks in memory: its list and its buffers keep
    // it as it was. Each key, pressed as a player would, reaches the sheet drawn before: the picture
    // after the press differs from the first one (true), or is that one again.
    use(2, true);
    draw(*reference);
    MeshPatch& sheet = *reference->patches[0];
    for (uint32_t i = 0; i < sheet.geometry->vertexCount * 3; ++i) sheet.geometry->positions[i] *= 0.4f;
    const std::pair<int, bool> presses[] = {
        {GLFW_KEY_F6, false},                                             // immediate mode, from the list
        {GLFW_KEY_F3, true}, {GLFW_KEY_F3, false},                        // wireframe
        {GLFW_KEY_F4, true}, {GLFW_KEY_F4, false},                        // nearest texels, magnified
        {GLFW_KEY_F5, true}, {GLFW_KEY_F5, false}, {GLFW_KEY_F5, false},  // minified checks without mipmaps
        {GLFW_KEY_F7, true},                                              // no list: the shrunk sheet
        {GLFW_KEY_F6, true}, {GLFW_KEY_F6, false},                        // arrays, then buffers
        {GLFW_KEY_F7, false}, {GLFW_KEY_F6, false}};                      // immediate mode, from the list
    int pressed = 0;
    for (const auto& [key, differs] : presses) {
        onKey(key, GLFW_PRESS);
        const int difference = largestDifference(draw(*reference), expected);
        EXPECT_EQ(difference > modeTolerance, differs) << "press " << pressed++ << ": " << difference;
    }

    // Blacken the uploaded image: the list holds only the binding, so it draws the sheet black now.
    const std::vector<uint8_t> black(static_cast<size_t>(texture->width) * texture->height * 3, 0);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texture->width, texture->height, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    EXPECT_LT(at(draw(*reference), quadrantPoints[0]).r, 60);
}

// Normals keep their length, so the flat tile is lit as brightly as unscaled, and a mirrored mesh
// still shows its front faces; the GL state returns to the usual after the mesh.
TEST_F(MeshDrawing, ScaledAndMirroredMeshesAreLitAsUnscaledAndStayVisible) {
    use(1, false);
    boost::shared_ptr<Mesh> mesh = loadSheet("Sheet.mesh.xml");
    const float tileX = 7.8f;  // sheet units, inside the plain tile
    const int tile[2] = {centrePoint[0] + static_cast<int>(tileX * pixelsPerUnit),
                         centrePoint[1]};
    const Rgb tileShade = at(draw(*mesh), tile);
    for (const btVector3& scale : {btVector3(2, 2, 2), btVector3(1, 1, 2), btVector3(-1, 1, 1)}) {
        SCOPED_TRACE("scale " + std::to_string(scale.x()) + ", " + std::to_string(scale.z()));
        mesh->setScale(scale.x(), scale.y(), scale.z());
        const std::vector<uint8_t> image = draw(*mesh);
        const int x = centrePoint[0] + static_cast<int>(tileX * scale.x() * pixelsPerUnit);
        EXPECT_EQ(pixelsUnlike(image, {x, tile[1], x + 1, tile[1] + 1}, tileShade, 4).count, 0);
        EXPECT_FALSE(glIsEnabled(GL_NORMALIZE) || glIsEnabled(GL_RESCALE_NORMAL));
        GLint frontFace = 0;
        glGetIntegerv(GL_FRONT_FACE, &frontFace);
        EXPECT_EQ(frontFace, GL_CCW);
    }
}
