#include <algorithm>

#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "game/GameClock.h"
#include "game/KeyInput.h"
#include "game/MessageLog.h"
#include "game/RenderSettings.h"
#include "support/TestMedia.h"

namespace {

struct KeyInputTest : ::testing::Test {
    KeyInputTest() {
        GameClock::useSimulatedTime(10);  // "test output" has expired by now
        media.startLibraries();
        renderSettings = RenderSettings();
    }
    ~KeyInputTest() override {
        renderSettings = RenderSettings();
        GameClock::useWindowTimer();
    }
    // Presses a key and returns the messages it newly put on screen.
    std::vector<std::string> press(int key) {
        const std::vector<std::string> before = messages();
        onKey(key, GLFW_PRESS);
        std::vector<std::string> added;
        for (const std::string& text : messages()) {
            if (std::find(before.begin(), before.end(), text) == before.end()) added.push_back(text);
        }
        return added;
    }
    static const std::vector<std::string>& messages() { return MessageLog::instance().getTexts(); }
    using Texts = std::vector<std::string>;

    TestMedia media;
};

}  // namespace

TEST_F(KeyInputTest, EveryToggleFlipsItsSwitchAndSaysSo) {
    EXPECT_EQ(press(GLFW_KEY_F3), Texts{"Wireframe mode enabled"});
    EXPECT_TRUE(renderSettings.wireframe);
    EXPECT_EQ(press(GLFW_KEY_F3), Texts{"Wireframe mode disabled"});
    EXPECT_EQ(press(GLFW_KEY_F7), Texts{"Display lists disabled"});
    EXPECT_FALSE(renderSettings.displayLists);
    EXPECT_EQ(press(GLFW_KEY_F7), Texts{"Display lists enabled"});
    EXPECT_EQ(press(GLFW_KEY_F8), Texts{"Frustum Culling disabled"});
    EXPECT_FALSE(renderSettings.frustumCulling);
    EXPECT_EQ(press(GLFW_KEY_F8), Texts{"Frustum Culling enabled"});
    EXPECT_EQ(press(GLFW_KEY_F9), Texts{"Transparency disabled"});
    EXPECT_FALSE(renderSettings.transparency);
    EXPECT_EQ(press(GLFW_KEY_F9), Texts{"Transparency enabled"});

    EXPECT_TRUE(press(GLFW_KEY_F2).empty());
    EXPECT_FALSE(renderSettings.showFps);
    EXPECT_TRUE(press('A').empty());
    EXPECT_FALSE(renderSettings.aiDrivingEnabled);
    EXPECT_TRUE(press('Q').empty());
}

TEST_F(KeyInputTest, HeldOrReleasedKeysDoNotToggle) {
    onKey(GLFW_KEY_F3, GLFW_PRESS);
    onKey(GLFW_KEY_F3, GLFW_REPEAT);
    onKey(GLFW_KEY_F3, GLFW_REPEAT);
    onKey(GLFW_KEY_F3, GLFW_RELEASE);
    EXPECT_TRUE(renderSettings.wireframe);
}

TEST_F(KeyInputTest, FilterKeysDeriveTheFiltersAndReportBoth) {
    EXPECT_EQ(press(GLFW_KEY_F5), (Texts{"New mag filter: GL_LINEAR", "New min filter: GL_LINEAR"}));
    EXPECT_EQ(renderSettings.minFilter, static_cast<unsigned int>(GL_LINEAR));
    EXPECT_EQ(press(GLFW_KEY_F4), (Texts{"New mag filter: GL_NEAREST", "New min filter: GL_NEAREST"}));
    EXPECT_EQ(renderSettings.magFilter, static_cast<unsigned int>(GL_NEAREST));
    press(GLFW_KEY_F5);
    EXPECT_EQ(renderSettings.minFilter, static_cast<unsigned int>(GL_NEAREST_MIPMAP_NEAREST));
    press(GLFW_KEY_F5);
    EXPECT_EQ(renderSettings.minFilter, static_cast<unsigned int>(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(renderSettings.mipmapMode, 2) << "three presses of F5 come back to the start";
    press(GLFW_KEY_F4);
    EXPECT_EQ(renderSettings.minFilter, static_cast<unsigned int>(GL_LINEAR_MIPMAP_LINEAR));
    EXPECT_EQ(renderSettings.magFilter, static_cast<unsigned int>(GL_LINEAR));
}

TEST_F(KeyInputTest, VertexModeCycleSkipsBuffersWithoutTheExtension) {
    renderSettings.vertexBuffersSupported = true;
    EXPECT_EQ(press(GLFW_KEY_F6), Texts{"Vertex immediate mode enabled"});
    EXPECT_EQ(renderSettings.vertexMode, 0);
    EXPECT_EQ(press(GLFW_KEY_F6), Texts{"Vertex arrays enabled"});
    EXPECT_EQ(press(GLFW_KEY_F6), Texts{"Vertex buffer objects enabled"});
    EXPECT_EQ(renderSettings.vertexMode, 2);

    media.startLibraries();  // a fresh message list
    renderSettings.vertexBuffersSupported = false;
    renderSettings.vertexMode = 1;
    EXPECT_EQ(press(GLFW_KEY_F6), Texts{"Vertex immediate mode enabled"});
    EXPECT_EQ(renderSettings.vertexMode, 0);
    press(GLFW_KEY_F6);
    press(GLFW_KEY_F6);
    EXPECT_NE(renderSettings.vertexMode, 2);
}

TEST_F(KeyInputTest, PressingOneToggleRepeatedlyRefreshesItsTwoMessages) {
    for (int i = 0; i < 4; ++i) onKey(GLFW_KEY_F7, GLFW_PRESS);
    EXPECT_EQ(messages(), (Texts{"test output", "Display lists disabled", "Display lists enabled"}));
}
