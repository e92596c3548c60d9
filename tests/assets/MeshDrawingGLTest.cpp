#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <GL/glew.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "assets/MeshPatchProperties.h"
#include "assets/Texture.h"
#include "game/RenderSettings.h"
#include "support/GLTestWindow.h"
#include "support/ImageChecks.h"
#include "support/MeshScene.h"

namespace {

// The same triangles reach the rasteriser in every mode; rounding may still differ a little.
const int modeTolerance = 3;
const float pixelsPerUnit = 30.14f;  // at the sheet's distance

Rgb at(const std::vector<uint8_t>& image, const int (&point)[2]) { return pixelAt(image, point[0], point[1]); }

void use(int vertexMode, bool displayLists) {
    renderSettings.vertexMode = vertexMode;
    renderSettings.displayLists = displayLists;
}

}  // namespace

TEST(MeshDrawing, EveryVertexModeDrawsTheSameTexturedLitImage) {
    GLTestWindow window;
    MeshScene scene(window);
    ASSERT_TRUE(renderSettings.vertexBuffersSupported);
    // The first drawing of all records a list in immediate mode, and binds the texture for the first
    // time while it does: the image must go to GL before the list starts, not into the list.
    boost::shared_ptr<Mesh> reference = scene.loadSheet("Reference.mesh.xml");
    const boost::shared_ptr<Texture> texture = MaterialLibrary::instance().getMaterial("Sheet")->texture;
    ASSERT_FALSE(texture->uploaded);
    use(0, true);
    const std::vector<uint8_t> expected = scene.draw(*reference);

    // Each quadrant shows its texel colour (red, green, blue, yellow), the plain tile beside it is
    // grey (so texturing was switched off after the sheet), and the light shades across the sheet.
    const Rgb red = at(expected, MeshScene::quadrantPoints[0]), green = at(expected, MeshScene::quadrantPoints[1]);
    const Rgb blue = at(expected, MeshScene::quadrantPoints[2]), yellow = at(expected, MeshScene::quadrantPoints[3]);
    EXPECT_GT(red.r, 2 * std::max(red.g, red.b));
    EXPECT_GT(green.g, 2 * std::max(green.r, green.b));
    EXPECT_GT(blue.b, 2 * std::max(blue.r, blue.g));
    EXPECT_GT(std::min(yellow.r, yellow.g), 2 * yellow.b);
    const Rgb plain = at(expected, MeshScene::plainTilePoint);
    EXPECT_TRUE(plain.r > 100 && std::abs(plain.r - plain.g) <= 2 && std::abs(plain.g - plain.b) <= 2);
    const ChannelRange shading = redRange(expected, {360, 230, 470, 330});  // inside the red quadrant
    EXPECT_GT(shading.high - shading.low, 12);

    const std::pair<int, bool> settings[] = {{0, false}, {1, false}, {1, true}, {2, false}, {2, true}};
    for (const auto& [mode, lists] : settings) {
        const std::string name = "Sheet" + std::to_string(mode) + (lists ? "L" : "");
        SCOPED_TRACE(name);
        use(mode, lists);
        // A file of its own, so that a list is recorded in this mode and not replayed from another.
        boost::shared_ptr<Mesh> mesh = scene.loadSheet(name + ".mesh.xml");
        EXPECT_LE(largestDifference(scene.draw(*mesh), expected), modeTolerance);  // records a list, if any
        EXPECT_LE(largestDifference(scene.draw(*mesh), expected), modeTolerance);  // replays it
        EXPECT_EQ(mesh->patches[0]->displayList != 0, lists && mode != 2);
    }

    // Shrunk in memory, the reference sheet draws as recorded while lists are used.
    MeshPatch& sheet = *reference->patches[0];
    for (uint32_t i = 0; i < sheet.geometry->vertexCount * 3; ++i) sheet.geometry->positions[i] *= 0.4f;
    use(1, true);
    EXPECT_LE(largestDifference(scene.draw(*reference), expected), modeTolerance);

    // Each bind outside a list applies the texture filter of the moment.
    const unsigned int usualFilter = renderSettings.magFilter;
    renderSettings.magFilter = GL_NEAREST;
    use(1, false);
    scene.draw(*reference);
    GLint filter = 0;
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    renderSettings.magFilter = usualFilter;

    // Blacken the uploaded image: the list holds only the binding, so it draws the sheet black now.
    const std::vector<uint8_t> black(static_cast<size_t>(texture->width) * texture->height * 3, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texture->width, texture->height, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    use(1, true);
    EXPECT_LT(at(scene.draw(*reference), MeshScene::quadrantPoints[0]).r, 60);
}

// Normals keep their length, so the flat tile is lit as brightly as unscaled, and a mirrored mesh
// still shows its front faces; the GL state returns to the usual after the mesh.
TEST(MeshDrawing, ScaledAndMirroredMeshesAreLitAsUnscaledAndStayVisible) {
    GLTestWindow window;
    MeshScene scene(window);
    use(1, false);
    boost::shared_ptr<Mesh> mesh = scene.loadSheet("Sheet.mesh.xml");
    const float tileX = 7.8f;  // sheet units, inside the plain tile
    const int tile[2] = {MeshScene::centrePoint[0] + static_cast<int>(tileX * pixelsPerUnit),
                         MeshScene::centrePoint[1]};
    const Rgb tileShade = at(scene.draw(*mesh), tile);
    for (const btVector3& scale : {btVector3(2, 2, 2), btVector3(1, 1, 2), btVector3(-1, 1, 1)}) {
        SCOPED_TRACE("scale " + std::to_string(scale.x()) + ", " + std::to_string(scale.z()));
        mesh->setScale(scale.x(), scale.y(), scale.z());
        const std::vector<uint8_t> image = scene.draw(*mesh);
        const int x = MeshScene::centrePoint[0] + static_cast<int>(tileX * scale.x() * pixelsPerUnit);
        EXPECT_EQ(pixelsUnlike(image, {x, tile[1], x + 1, tile[1] + 1}, tileShade, 4).count, 0);
        EXPECT_FALSE(glIsEnabled(GL_NORMALIZE) || glIsEnabled(GL_RESCALE_NORMAL));
        GLint frontFace = 0;
        glGetIntegerv(GL_FRONT_FACE, &frontFace);
        EXPECT_EQ(frontFace, GL_CCW);
    }
}
