#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <GL/glew.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "assets/MeshPatchProperties.h"
#include "assets/MeshPatchVertexProperties.h"
#include "assets/Texture.h"
#include "game/RenderSettings.h"
#include "support/GLTestWindow.h"
#include "support/ImageChecks.h"
#include "support/MeshScene.h"

namespace {

// The same triangles reach the rasteriser in every mode; rounding may still differ a little.
const int modeTolerance = 3;
const int skyTolerance = 3;
const float pixelsPerUnit = 30.14f;  // at the sheet's distance

Rgb at(const std::vector<uint8_t>& image, const int (&point)[2]) { return pixelAt(image, point[0], point[1]); }

bool isSky(const std::vector<uint8_t>& image, const int (&point)[2]) {
    return pixelsUnlike(image, {point[0], point[1], point[0] + 1, point[1] + 1}, skyColour, skyTolerance).count == 0;
}

// A patch that draws nothing and notes the GL state the mesh set up for its patches.
class StateProbe : public MeshPatch {
public:
    StateProbe()
        : MeshPatch(new MeshPatchGeometry(), new MeshPatchVertexProperties(),
                    boost::shared_ptr<MeshPatchProperties>()) {}
    void render() override {
        normalize = glIsEnabled(GL_NORMALIZE);
        rescaleNormal = glIsEnabled(GL_RESCALE_NORMAL);
        glGetIntegerv(GL_FRONT_FACE, &frontFace);
    }
    bool normalize = false;
    bool rescaleNormal = false;
    GLint frontFace = 0;
};

struct DrawSettings {
    int vertexMode;
    bool displayLists;
};

void use(const DrawSettings& settings) {
    renderSettings.vertexMode = settings.vertexMode;
    renderSettings.displayLists = settings.displayLists;
}

}  // namespace

TEST(MeshDrawing, EveryVertexModeDrawsTheSameTexturedLitImage) {
    GLTestWindow window;
    MeshScene scene(window);
    ASSERT_TRUE(renderSettings.vertexBuffersSupported);

    use({2, false});
    boost::shared_ptr<Mesh> reference = scene.loadSheet("Reference.mesh.xml");
    const std::vector<uint8_t> expected = scene.draw(*reference);

    // The mesh is really there, textured and lit: each quadrant shows its texel colour (red, green,
    // blue, yellow: every strong channel above twice every weak one), the plain tile beside it is grey
    // (so texturing was switched off after the sheet), and there is shading.
    const bool strong[4][3] = {{true, false, false}, {false, true, false}, {false, false, true}, {true, true, false}};
    for (int q = 0; q < 4; ++q) {
        const Rgb p = at(expected, MeshScene::quadrantPoints[q]);
        const int channel[3] = {p.r, p.g, p.b};
        for (int s = 0; s < 3; ++s) {
            for (int w = 0; w < 3; ++w) {
                if (strong[q][s] && !strong[q][w]) {
                    EXPECT_GT(channel[s], 2 * channel[w]) << "quadrant " << q;
                }
            }
        }
    }
    const Rgb plain = at(expected, MeshScene::plainTilePoint);
    EXPECT_NEAR(plain.r, plain.g, 2);
    EXPECT_NEAR(plain.g, plain.b, 2);
    EXPECT_GT(plain.r, 100);
    // Inside one quadrant the texels are alike: what varies there is the light on the dome's slopes.
    const PixelArea redInterior = {360, 230, 470, 330};
    const ChannelRange shading = redRange(expected, redInterior);
    EXPECT_GT(shading.high - shading.low, 12);
    EXPECT_GT(pixelsUnlike(expected, {0, 0, GLTestWindow::width, GLTestWindow::height}, skyColour, skyTolerance).count,
              100000);

    const DrawSettings settings[] = {{0, false}, {0, true}, {1, false}, {1, true}, {2, true}};
    for (const DrawSettings& setting : settings) {
        SCOPED_TRACE("vertex mode " + std::to_string(setting.vertexMode) +
                     (setting.displayLists ? " with display lists" : " without display lists"));
        use(setting);
        // A file of its own, so that a list is recorded in this mode and not replayed from another.
        boost::shared_ptr<Mesh> mesh = scene.loadSheet("Sheet" + std::to_string(setting.vertexMode) +
                                                       (setting.displayLists ? "L" : "") + ".mesh.xml");
        const std::vector<uint8_t> first = scene.draw(*mesh);  // records the list, if any, and draws it
        const std::vector<uint8_t> second = scene.draw(*mesh);  // replays it
        EXPECT_LE(largestDifference(first, expected), modeTolerance);
        EXPECT_LE(largestDifference(second, expected), modeTolerance);
        EXPECT_EQ(mesh->patches[0]->displayList != 0, setting.displayLists && setting.vertexMode != 2);
    }
}

TEST(MeshDrawing, ScaledAndMirroredMeshesSetNormalAndWindingStateOnlyWhileDrawing) {
    GLTestWindow window;
    MeshScene scene(window);
    boost::shared_ptr<Mesh> mesh = scene.loadSheet("Sheet.mesh.xml");
    boost::shared_ptr<StateProbe> probe(new StateProbe());
    mesh->addPatch(probe);

    const std::vector<uint8_t> unscaled = scene.draw(*mesh);
    const float tileX = 7.8f;  // sheet units, inside the plain tile
    const Rgb tileShade = pixelAt(unscaled, MeshScene::centrePoint[0] + static_cast<int>(tileX * pixelsPerUnit),
                                  MeshScene::centrePoint[1]);

    struct Case {
        float x, y, z;
        bool normalize, rescaleNormal;
        GLint frontFace;
    };
    const Case cases[] = {{1, 1, 1, false, false, GL_CCW},  {2, 2, 2, false, true, GL_CCW},
                          {1, 2, 1, true, false, GL_CCW},   {-1, 1, 1, true, false, GL_CW},
                          {-1, -1, 1, true, false, GL_CW}};
    for (const Case& c : cases) {
        SCOPED_TRACE("scale " + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " + std::to_string(c.z));
        mesh->setScale(c.x, c.y, c.z);
        const std::vector<uint8_t> image = scene.draw(*mesh);
        EXPECT_EQ(probe->normalize, c.normalize);
        EXPECT_EQ(probe->rescaleNormal, c.rescaleNormal);
        EXPECT_EQ(probe->frontFace, c.frontFace);
        EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
        EXPECT_FALSE(glIsEnabled(GL_RESCALE_NORMAL));
        GLint frontFace = 0;
        glGetIntegerv(GL_FRONT_FACE, &frontFace);
        EXPECT_EQ(frontFace, GL_CCW);

        // Two negative factors turn the mesh without mirroring it, yet its winding is reversed as for
        // a mirror, so back-face culling hides it; only the state is checked there.
        if (c.x < 0 && c.y < 0) continue;
        // Still visible with back faces culled, and the flat tile lit as brightly as unscaled: its
        // normals keep their length under every scale.
        EXPECT_FALSE(isSky(image, MeshScene::centrePoint));
        const int x = MeshScene::centrePoint[0] + static_cast<int>(tileX * c.x * pixelsPerUnit);
        const int y = MeshScene::centrePoint[1];
        EXPECT_EQ(pixelsUnlike(image, {x, y, x + 1, y + 1}, tileShade, 4).count, 0);
    }
}

// The texture's first bind happens while the list is recorded in mode 0; its image must go to GL
// before the list starts, or every replay would upload it again.
TEST(MeshDrawing, DisplayListRecordedInImmediateModeIsReplayedUntilListsAreSwitchedOff) {
    GLTestWindow window;
    MeshScene scene(window);
    boost::shared_ptr<Mesh> mesh = scene.loadSheet("Sheet.mesh.xml");
    MeshPatch& sheet = *mesh->patches[0];

    use({0, true});
    const std::vector<uint8_t> recorded = scene.draw(*mesh);
    const unsigned int list = sheet.displayList;
    ASSERT_NE(list, 0u);
    EXPECT_LE(largestDifference(scene.draw(*mesh), recorded), modeTolerance);

    // Shrink the sheet in memory: only drawing that reads the arrays sees it.
    for (uint32_t i = 0; i < sheet.geometry->vertexCount * 3; i += 3) {
        sheet.geometry->positions[i] *= 0.4f;
        sheet.geometry->positions[i + 1] *= 0.4f;
    }
    use({1, true});
    EXPECT_LE(largestDifference(scene.draw(*mesh), recorded), modeTolerance);

    use({1, false});
    const std::vector<uint8_t> shrunk = scene.draw(*mesh);
    EXPECT_TRUE(isSky(shrunk, MeshScene::quadrantPoints[0]));
    EXPECT_FALSE(isSky(recorded, MeshScene::quadrantPoints[0]));
    use({0, false});
    EXPECT_LE(largestDifference(scene.draw(*mesh), shrunk), modeTolerance);

    use({2, true});
    EXPECT_LE(largestDifference(scene.draw(*mesh), shrunk), modeTolerance);
    EXPECT_NE(sheet.positionBuffer, 0u);
    EXPECT_EQ(sheet.displayList, list);
    EXPECT_TRUE(glIsList(list));

    use({1, true});
    EXPECT_LE(largestDifference(scene.draw(*mesh), recorded), modeTolerance);

    // Blacken the uploaded image: a list that holds only the binding draws the sheet black now.
    const boost::shared_ptr<Texture> texture = MaterialLibrary::instance().getMaterial("Sheet")->texture;
    ASSERT_TRUE(texture && texture->uploaded);
    const std::vector<uint8_t> black(static_cast<size_t>(texture->width) * texture->height * 3, 0);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texture->width, texture->height, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    EXPECT_GT(at(recorded, MeshScene::quadrantPoints[0]).r, 100);
    EXPECT_LT(at(scene.draw(*mesh), MeshScene::quadrantPoints[0]).r, 60);
}
