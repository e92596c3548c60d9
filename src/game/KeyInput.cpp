#include "game/KeyInput.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include "assets/TextureFilters.h"
#include "game/MessageLog.h"
#include "game/RenderSettings.h"

namespace {

std::function<bool()> soundToggle;

// Flips a switch and shows the message for its new state.
void toggle(bool& setting, const char* enabledText, const char* disabledText) {
    setting = !setting;
    showMessage(setting ? enabledText : disabledText);
}

void cycleVertexMode() {
    switch (renderSettings.vertexMode) {
        case 0:
            renderSettings.vertexMode = 1;
            showMessage("Vertex arrays enabled");
            break;
        case 1:
            if (renderSettings.vertexBuffersSupported) {
                renderSettings.vertexMode = 2;
                showMessage("Vertex buffer objects enabled");
                break;
            }
            [[fallthrough]];
        default:
            renderSettings.vertexMode = 0;
            showMessage("Vertex immediate mode enabled");
            break;
    }
}

}  // namespace

void setSoundToggle(std::function<bool()> toggle) { soundToggle = std::move(toggle); }

void onKey(int key, int action) {
    // Held keys repeat; only the press toggles.
    if (action != GLFW_PRESS) return;
    switch (key) {
        case GLFW_KEY_F2:
            renderSettings.showFps = !renderSettings.showFps;
            break;
        case GLFW_KEY_F3:
            toggle(renderSettings.wireframe, "Wireframe mode enabled", "Wireframe mode disabled");
            glPolygonMode(GL_FRONT_AND_BACK, renderSettings.wireframe ? GL_LINE : GL_FILL);
            break;
        case GLFW_KEY_F4:
            renderSettings.nearestFiltering = !renderSettings.nearestFiltering;
            applyTextureFilters();
            break;
        case GLFW_KEY_F5:
            renderSettings.mipmapMode = (renderSettings.mipmapMode + 1) % 3;
            applyTextureFilters();
            break;
        case GLFW_KEY_F6:
            cycleVertexMode();
            break;
        case GLFW_KEY_F7:
            toggle(renderSettings.displayLists, "Display lists enabled", "Display lists disabled");
            break;
        case GLFW_KEY_F8:
            toggle(renderSettings.frustumCulling, "Frustum Culling enabled", "Frustum Culling disabled");
            break;
        case GLFW_KEY_F9:
            toggle(renderSettings.transparency, "Transparency enabled", "Transparency disabled");
            break;
        case 'A':
            renderSettings.aiDrivingEnabled = !renderSettings.aiDrivingEnabled;
            break;
        case 'M':
            if (soundToggle) showMessage(soundToggle() ? "Sound enabled" : "Sound disabled");
            break;
        default:
            break;
    }
}
