#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshPatchProperties.h"
#include "assets/Texture.h"
#include "game/GameClock.h"
#include "game/KeyInput.h"
#include "game/MessageLog.h"
#include "game/RenderSettings.h"
#include "support/GLTestWindow.h"
#include "support/MeshScene.h"

namespace {

struct Filters {
    GLint min, mag;
};

// What GL holds for the texture now, whatever is bound.
Filters filtersOf(const Texture& texture) {
    Filters filters = {0, 0};
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters.min);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters.mag);
    glBindTexture(GL_TEXTURE_2D, 0);
    return filters;
}

// Lets the test choose the time of each key press; the window timer is back when it goes.
struct SimulatedClock {
    explicit SimulatedClock(double start) { set(start); }
    ~SimulatedClock() { GameClock::useWindowTimer(); }
    void set(double time) { GameClock::useSimulatedTime(time); }
};

void expectFilters(const Texture& texture, GLint min, GLint mag) {
    const Filters filters = filtersOf(texture);
    EXPECT_EQ(filters.min, min);
    EXPECT_EQ(filters.mag, mag);
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

TEST(TextureFilters, FilterKeysReportMagnificationThenMinificationFilter) {
    SimulatedClock clock(0);  // before the window, which stamps the message list
    GLTestWindow window;
    const std::vector<std::string>& texts = MessageLog::instance().getTexts();
    double now = 0;
    // Each press a little later, so that the oldest message is a clear choice.
    auto press = [&](int key) {
        now += 0.1;
        clock.set(now);
        onKey(key, GLFW_PRESS);
    };

    press(GLFW_KEY_F5);
    EXPECT_EQ(renderSettings.mipmapMode, 0);
    EXPECT_EQ(texts, (std::vector<std::string>{"test output", "New mag filter: GL_LINEAR", "New min filter: GL_LINEAR"}));
    press(GLFW_KEY_F4);
    EXPECT_EQ(renderSettings.minFilter, static_cast<unsigned int>(GL_NEAREST));
    EXPECT_EQ(renderSettings.magFilter, static_cast<unsigned int>(GL_NEAREST));
    EXPECT_EQ(texts, (std::vector<std::string>{"test output", "New mag filter: GL_LINEAR", "New min filter: GL_LINEAR",
                                               "New mag filter: GL_NEAREST", "New min filter: GL_NEAREST"}));

    // Three F5 presses bring the mipmap mode back; a message already on screen is only refreshed.
    press(GLFW_KEY_F5);
    press(GLFW_KEY_F5);
    EXPECT_EQ(renderSettings.mipmapMode, 2);
    EXPECT_EQ(renderSettings.minFilter, static_cast<unsigned int>(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(texts, (std::vector<std::string>{"test output", "New mag filter: GL_LINEAR", "New min filter: GL_LINEAR",
                                               "New mag filter: GL_NEAREST", "New min filter: GL_NEAREST",
                                               "New min filter: GL_NEAREST_MIPMAP_NEAREST",
                                               "New min filter: GL_NEAREST_MIPMAP_LINEAR"}));
    EXPECT_DOUBLE_EQ(MessageLog::instance().getTimes()[3], now);

    // The eighth distinct message fills the list; the ninth pushes out the oldest, "test output".
    press(GLFW_KEY_F4);
    EXPECT_EQ(texts.size(), MessageLog::maxMessages);
    EXPECT_EQ(texts.back(), "New min filter: GL_LINEAR_MIPMAP_LINEAR");
    press(GLFW_KEY_F5);
    press(GLFW_KEY_F5);
    EXPECT_EQ(renderSettings.minFilter, static_cast<unsigned int>(GL_LINEAR_MIPMAP_NEAREST));
    EXPECT_EQ(renderSettings.magFilter, static_cast<unsigned int>(GL_LINEAR));
    EXPECT_EQ(texts.size(), MessageLog::maxMessages);
    EXPECT_EQ(texts.front(), "New mag filter: GL_LINEAR");
    EXPECT_EQ(texts.back(), "New min filter: GL_LINEAR_MIPMAP_NEAREST");
}
