// The drawing half of Game: one-time OpenGL set-up and the frame.
#include <iostream>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "entities/Entity.h"
#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "game/Game.h"
#include "game/HeadsUpDisplay.h"
#include "game/Light.h"
#include "game/MessageLog.h"
#include "game/RenderSettings.h"
#include "game/Window.h"
#include "items/ParticleEmitter.h"
#include "items/Projectile.h"

namespace {

void onWindowSizeCallback(GLFWwindow*, int width, int height) { onWindowResize(width, height); }

template <typename T>
void drawVisible(Game& game, btAlignedObjectArray<T*>& objects) {
    for (int i = 0; i < objects.size(); ++i) {
        if (game.isVisible(objects[i])) objects[i]->render();
    }
}

}  // namespace

void Game::initGL() {
    glClearColor(0.132f, 0.522f, 0.948f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    // Lights are applied once, under the identity modelview: they stay fixed relative to the viewer.
    for (int i = 0; i < lights.size(); ++i) lights[i]->render();
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);

    int width = windowWidth();
    int height = windowHeight();
    if (GLFWwindow* window = glfwGetCurrentContext()) {
        glfwSetWindowSizeCallback(window, onWindowSizeCallback);
        glfwGetWindowSize(window, &width, &height);
    }
    onWindowResize(width, height);
}

void Game::renderFrame() {
    drawFrame(static_cast<float>(frameTime));
    presentFrame();
}

void Game::drawFrame(float timeStep) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int c = 0; c < cameras.size(); ++c) {
        Camera* camera = cameras[c];
        camera->update(timeStep);
        if (renderSettings.frustumCulling) buildFrustumPlanes(*camera);
        drawVisible(*this, entities);
        drawVisible(*this, vehicles);
        drawVisible(*this, projectiles);
        if (ghost) ghost->render();
        for (ParticleEmitter* emitter : ParticleEmitter::allEmitters) emitter->update(timeStep);
        ParticleEmitter::drawParticles(this, camera->eye);
        drawMessages();
        drawHeadsUpDisplay(*this, camera->target);
    }
    if (cameras.size() == 0) {
        // A level without a player still shows the messages and the frame rate.
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        drawMessages();
        drawHeadsUpDisplay(*this, nullptr);
    }
    if (raceOver) drawRankingScreen(*this);
}

void Game::presentFrame() {
    glFlush();
    if (GLFWwindow* window = glfwGetCurrentContext()) {
        glfwSwapBuffers(window);
        glfwPollEvents();
    }

    fpsElapsed += frameTime;
    if (fpsElapsed >= 1.0) {
        fps = fpsFrames / fpsElapsed;
        fpsFrames = 0;
        fpsElapsed = 0;
        if (renderSettings.frustumCulling) std::cout << cullStatistics() << std::endl;
    } else {
        fpsFrames += 1;
    }
}
