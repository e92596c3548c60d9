#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <LinearMath/btTransform.h>

#include "game/Game.h"
#include "game/KeyInput.h"
#include "game/RenderSettings.h"
#include "game/Window.h"
#include "items/ParticleEmitter.h"
#include "support/GLTestWindow.h"
#include "support/ImageChecks.h"
#include "support/TestWorld.h"

TEST(ParticleDrawing, FarthestIsDrawnFirstAndNearerOnesBlendOverItWhileTransparencyIsOn) {
    GLTestWindow window;
    Game game;
    onWindowResize(GLTestWindow::width, GLTestWindow::height);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    renderSettings.frustumCulling = false;

    // Two half-opaque squares facing the eye, overlapping at the centre of the window; the near one
    // first: drawn in this order, the depth test would hide the far one behind it.
    ParticleEmitter emitter(makeMesh({-2, -2, 0, 2, -2, 0, -2, 2, 0, 2, 2, 0}, {0, 1, 3, 0, 3, 2}));
    emitter.emit(btTransform(btQuaternion::getIdentity(), btVector3(-1, 0, -20)), btVector3(0, 0, 0), 1, 0.5f);
    emitter.emit(btTransform(btQuaternion::getIdentity(), btVector3(1, 0, -30)), btVector3(0, 0, 0), 1, 0.5f);

    // In red, unlit, over black, seen from the origin down -z. Blended, half of red over black, and
    // the near half over that: 0.5 * 255 + 0.5 * 128; after F9 the near one covers the far one.
    glClearColor(0, 0, 0, 0);
    glColor3f(1, 0, 0);
    for (const int red : {191, 255, 191}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ParticleEmitter::drawParticles(&game, btVector3(0, 0, 0));
        glFinish();
        EXPECT_NEAR(pixelAt(window.image(), 512, 384).r, red, 2);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_RESCALE_NORMAL));
        onKey(GLFW_KEY_F9, GLFW_PRESS);
    }
}
