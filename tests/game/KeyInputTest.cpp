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

using Texts = std::vector<std::string>;

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
    Texts press(int key) {
        const Texts before = messages();
        onKey(key, GLFW_PRESS);
        Texts added;
        for (const std::string& text : messages()) {
            if (std::find(before.begin(), before.end(), text) == before.end()) added.push_back(text);
        }
        return added;
    }
    static const Texts& messages() { return MessageLog::instance().getTexts(); }

    TestMedia media;
};

}  // namespace

TEST_F(KeyInputTest, EveryToggleFlipsItsSwitchAndSaysSo) {
    const struct {
        int key;
        bool RenderSettings::*setting;
        Texts first, second;
    } toggles[] = {
        {GLFW_KEY_F3, &RenderSettings::wireframe, {"Wireframe mode enabled"}, {"Wireframe mode disabled"}},
        {GLFW_KEY_F7, &RenderSettings::displayLists, {"Display lists disabled"}, {"Display lists enabled"}},
        {GLFW_KEY_F8, &RenderSettings::frustumCulling, {"Frustum Culling disabled"}, {"Frustum Culling enabled"}},
        {GLFW_KEY_F9, &RenderSettings::transparency, {"Transparency disabled"}, {"Transparency enabled"}},
        {GLFW_KEY_F2, &RenderSettings::showFps, {}, {}},
        {'A', &RenderSettings::aiDrivingEnabled, {}, {}},
    };
    for (const auto& toggle : toggles) {
        SCOPED_TRACE(toggle.key);
        const bool initial = renderSettings.*toggle.setting;
        EXPECT_EQ(press(toggle.key), toggle.first);
        EXPECT_NE(renderSettings.*toggle.setting, initial);
        EXPECT_EQ(press(toggle.key), toggle.second);
        EXPECT_EQ(renderSettings.*toggle.setting, initial);
    }
    EXPECT_TRUE(press('Q').empty());

    // Held or released keys do not toggle.
    onKey(GLFW_KEY_F3, GLFW_REPEAT);
    onKey(GLFW_KEY_F3, GLFW_RELEASE);
    EXPECT_FALSE(renderSettings.wireframe);
}

// F4 and F5 report the magnification filter, then the minification one, and only what changed;
// F6 skips vertex buffers where the extension is missing.
TEST_F(KeyInputTest, FilterAndVertexModeKeysCycleAndReportWhatChanged) {
    EXPECT_EQ(press(GLFW_KEY_F5), (Texts{"New mag filter: GL_LINEAR", "New min filter: GL_LINEAR"}));
    EXPECT_EQ(press(GLFW_KEY_F4), (Texts{"New mag filter: GL_NEAREST", "New min filter: GL_NEAREST"}));
    EXPECT_EQ(press(GLFW_KEY_F5), Texts{"New min filter: GL_NEAREST_MIPMAP_NEAREST"});
    press(GLFW_KEY_F5);
    press(GLFW_KEY_F4);
    EXPECT_EQ(renderSettings.minFilter, static_cast<unsigned int>(GL_LINEAR_MIPMAP_LINEAR));
    EXPECT_EQ(renderSettings.magFilter, static_cast<unsigned int>(GL_LINEAR));

    renderSettings.vertexBuffersSupported = true;
    EXPECT_EQ(press(GLFW_KEY_F6), Texts{"Vertex immediate mode enabled"});
    EXPECT_EQ(press(GLFW_KEY_F6), Texts{"Vertex arrays enabled"});
    EXPECT_EQ(press(GLFW_KEY_F6), Texts{"Vertex buffer objects enabled"});
    EXPECT_EQ(renderSettings.vertexMode, 2);
    renderSettings.vertexBuffersSupported = false;
    for (int i = 0; i < 3; ++i) EXPECT_NE((press(GLFW_KEY_F6), renderSettings.vertexMode), 2);
}
