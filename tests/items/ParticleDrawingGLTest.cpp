#include <gtest/gtest.h>

#include <GL/glew.h>
#include <LinearMath/btTransform.h>

#include "assets/Mesh.h"
#include "game/Game.h"
#include "game/RenderSettings.h"
#include "game/Window.h"
#include "items/Particle.h"
#include "items/ParticleEmitter.h"
#include "support/GLTestWindow.h"
#include "support/ImageChecks.h"
#include "support/TestWorld.h"

namespace {

// Two half-opaque squares facing the eye, the near one 20 units away, the far one 30; on
// screen they overlap around the centre of the window.
const btVector3 nearPosition(-1, 0, -20);
const btVector3 farPosition(1, 0, -30);
const float halfOpacity = 0.5f;
const int overlapPoint[2] = {512, 384};
const int nearOnlyPoint[2] = {460, 384};
const int farOnlyPoint[2] = {560, 384};

boost::shared_ptr<Mesh> makeSquare() {
    return makeMesh({-2, -2, 0, 2, -2, 0, -2, 2, 0, 2, 2, 0}, {0, 1, 3, 0, 3, 2});
}

btTransform at(const btVector3& position) { return btTransform(btQuaternion::getIdentity(), position); }

// Particles in red, unlit, over black, seen from the origin down -z.
std::vector<uint8_t> drawParticles(GLTestWindow& window, Game& game) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 0, 0);
    ParticleEmitter::drawParticles(&game, btVector3(0, 0, 0));
    glFinish();
    return window.image();
}

}  // namespace

TEST(ParticleDrawing, FarthestIsDrawnFirstAndNearerOnesBlendOverIt) {
    GLTestWindow window;
    Game game;
    onWindowResize(GLTestWindow::width, GLTestWindow::height);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    renderSettings.frustumCulling = false;

    ParticleEmitter emitter(makeSquare());
    // The near one first: drawn in this order, the depth test would hide the far one behind it.
    emitter.emit(at(nearPosition), btVector3(0, 0, 0), 1, halfOpacity);
    emitter.emit(at(farPosition), btVector3(0, 0, 0), 1, halfOpacity);

    const std::vector<uint8_t> blended = drawParticles(window, game);
    ASSERT_EQ(Particle::allParticles.size(), 2u);
    EXPECT_EQ(Particle::allParticles[0]->transform.getOrigin(), farPosition);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_RESCALE_NORMAL));
    // Each alone: half of red over black. Where they overlap, the near half over the far mix.
    EXPECT_NEAR(pixelAt(blended, nearOnlyPoint[0], nearOnlyPoint[1]).r, 128, 2);
    EXPECT_NEAR(pixelAt(blended, farOnlyPoint[0], farOnlyPoint[1]).r, 128, 2);
    EXPECT_NEAR(pixelAt(blended, overlapPoint[0], overlapPoint[1]).r, 191, 2);

    // Without transparency they are opaque, still farthest first.
    renderSettings.transparency = false;
    const std::vector<uint8_t> opaque = drawParticles(window, game);
    EXPECT_EQ(Particle::allParticles[0]->transform.getOrigin(), farPosition);
    EXPECT_NEAR(pixelAt(opaque, nearOnlyPoint[0], nearOnlyPoint[1]).r, 255, 1);
    EXPECT_NEAR(pixelAt(opaque, overlapPoint[0], overlapPoint[1]).r, 255, 1);
    EXPECT_NEAR(pixelAt(opaque, farOnlyPoint[0], farOnlyPoint[1]).r, 255, 1);
}
