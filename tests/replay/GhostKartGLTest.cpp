#include <gtest/gtest.h>

#include <GL/glew.h>

#include "entities/Vehicle.h"
#include "game/Game.h"
#include "game/Window.h"
#include "replay/GhostKart.h"
#include "support/GLTestWindow.h"
#include "support/ImageChecks.h"
#include "support/TestWorld.h"

// The fault: a ghost drawn solid, hiding the road and the karts behind it, or one that writes its
// depth, so that what is drawn behind it later (dust) is cut out where it stands.
TEST(GhostKartDrawing, WhatLiesBehindTheGhostShowsThroughIt) {
    GLTestWindow window;
    TestWorld world;
    Vehicle* player = world.addVehicle(btVector3(0, 0, -20), false, "Player", btVector3(3, 3, 1));
    world.game->players.push_back(player);
    GhostPath path;
    path.add(*world.game);
    GhostKart ghost(*world.game, path);
    onWindowResize(GLTestWindow::width, GLTestWindow::height);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);  // as the game draws: the box's back faces stay unseen
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // In red over black, then a green square behind it, drawn after it as the dust is.
    glColor3f(1, 0, 0);
    ghost.render();
    glFinish();
    EXPECT_NEAR(pixelAt(window.image(), 512, 384).r, GhostKart::opacity * 255, 3);
    glColor3f(0, 1, 0);
    glBegin(GL_QUADS);
    glVertex3f(-9, -9, -40);
    glVertex3f(9, -9, -40);
    glVertex3f(9, 9, -40);
    glVertex3f(-9, 9, -40);
    glEnd();
    glFinish();
    EXPECT_EQ(pixelAt(window.image(), 512, 384).g, 255);
}
