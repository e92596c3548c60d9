#include "replay/GhostKart.h"

#include <GL/glew.h>
#include <LinearMath/btTransform.h>

#include "assets/Mesh.h"
#include "entities/Vehicle.h"
#include "game/Game.h"

void GhostKart::render() {
    // Drawn with the body the player's own kart has now, straight ahead.
    if (path.empty() || game.players.empty() || game.players.front()->bodyMeshes.empty()) return;
    const Vehicle& player = *game.players.front();
    const boost::shared_ptr<Mesh>& body = player.bodyMeshes[player.bodyMeshes.size() / 2];
    btScalar matrix[16];
    path.poseAt(game.raceSteps).getOpenGLMatrix(matrix);
    glPushMatrix();
    glMultMatrixf(matrix);
    glEnable(GL_BLEND);
    glBlendFunc(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    if (glBlendColor) glBlendColor(1, 1, 1, opacity);
    // What lies behind it stays visible through it, and is not hidden by it in the depth buffer.
    glDepthMask(GL_FALSE);
    body->render();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glPopMatrix();
}
