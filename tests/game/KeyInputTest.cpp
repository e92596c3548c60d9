#include <algorithm>

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

// Each press says what it changed, F4 and F5 the magnification filter, then the minification one, and
// only what changed; what a switch does to the picture the drawing tests see. F2 and A say nothing.
TEST_F(KeyInputTest, EveryKeySaysWhatItChanged) {
    renderSettings.vertexBuffersSupported = true;
    const std::pair<int, Texts> presses[] = {
        {GLFW_KEY_F3, {"Wireframe mode enabled"}}, {GLFW_KEY_F3, {"Wireframe mode disabled"}},
        {GLFW_KEY_F7, {"Display lists disabled"}}, {GLFW_KEY_F7, {"Display lists enabled"}},
        {GLFW_KEY_F8, {"Frustum Culling disabled"}}, {GLFW_KEY_F8, {"Frustum Culling enabled"}},
        {GLFW_KEY_F9, {"Transparency disabled"}}, {GLFW_KEY_F9, {"Transparency enabled"}},
        {GLFW_KEY_F5, {"New mag filter: GL_LINEAR", "New min filter: GL_LINEAR"}},
        {GLFW_KEY_F4, {"New mag filter: GL_NEAREST", "New min filter: GL_NEAREST"}},
        {GLFW_KEY_F5, {"New min filter: GL_NEAREST_MIPMAP_NEAREST"}},
        {GLFW_KEY_F6, {"Vertex immediate mode enabled"}}, {GLFW_KEY_F6, {"Vertex arrays enabled"}},
        {GLFW_KEY_F6, {"Vertex buffer objects enabled"}}, {GLFW_KEY_F2, {}}, {'A', {}}, {'Q', {}}};
    for (const auto& [key, texts] : presses) EXPECT_EQ(press(key), texts) << "key " << key;
    EXPECT_FALSE(renderSettings.showFps || renderSettings.aiDrivingEnabled);

    // Held or released keys do not toggle; F6 skips vertex buffers where the extension is missing.
    onKey(GLFW_KEY_F3, GLFW_REPEAT);
    onKey(GLFW_KEY_F3, GLFW_RELEASE);
    EXPECT_FALSE(renderSettings.wireframe);
    renderSettings.vertexBuffersSupported = false;
    for (int i = 0; i < 3; ++i) EXPECT_NE((press(GLFW_KEY_F6), renderSettings.vertexMode), 2);
}
