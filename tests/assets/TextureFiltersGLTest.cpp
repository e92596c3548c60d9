#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshPatchProperties.h"
#include "assets/Texture.h"
#include "game/KeyInput.h"
#include "game/RenderSettings.h"
#include "support/GLTestWindow.h"
#include "support/MeshScene.h"

namespace {

// What GL holds for the texture now, whatever is bound.
void expectFilters(const Texture& texture, GLint min, GLint mag) {
    GLint filters[2] = {0, 0};
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters[1]);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(filters[0], min);
    EXPECT_EQ(filters[1], mag);
}

}  // namespace

TEST(TextureFilters, ChangedFilterReachesTheTextureAtItsNextBind) {
    GLTestWindow window;
    MeshScene scene(window);
    boost::shared_ptr<Mesh> mesh = scene.loadSheet("Sheet.mesh.xml");
    const boost::shared_ptr<Texture> texture = MaterialLibrary::instance().getMaterial("Sheet")->texture;
    ASSERT_TRUE(texture);
    EXPECT_FALSE(texture->uploaded);  // nothing has drawn it yet

    renderSettings.vertexMode = 1;
    renderSettings.displayLists = false;
    scene.draw(*mesh);
    ASSERT_TRUE(texture->uploaded);
    expectFilters(*texture, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);

    // No list of textures is walked: the texture keeps its filters until it is bound again.
    onKey(GLFW_KEY_F5, GLFW_PRESS);
    expectFilters(*texture, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    scene.draw(*mesh);
    expectFilters(*texture, GL_LINEAR, GL_LINEAR);

    onKey(GLFW_KEY_F4, GLFW_PRESS);
    scene.draw(*mesh);
    expectFilters(*texture, GL_NEAREST, GL_NEAREST);

    // A display list replays the filters of the moment it was recorded.
    renderSettings.vertexMode = 0;
    renderSettings.displayLists = true;
    scene.draw(*mesh);
    onKey(GLFW_KEY_F4, GLFW_PRESS);
    scene.draw(*mesh);
    expectFilters(*texture, GL_NEAREST, GL_NEAREST);
    renderSettings.displayLists = false;
    scene.draw(*mesh);
    expectFilters(*texture, GL_LINEAR, GL_LINEAR);

    // Buffer mode binds the texture itself every time.
    renderSettings.vertexMode = 2;
    onKey(GLFW_KEY_F5, GLFW_PRESS);
    scene.draw(*mesh);
    expectFilters(*texture, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
}
