// Particle drawing benchmark: thousands of dust particles from the default media, sorted farthest
// first and drawn blended every frame. Prints the time of the sort and of a whole particle pass
// per frame for several particle counts. Run it under tests/with-xvfb.sh from the build folder.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <GL/glew.h>
#include <LinearMath/btTransform.h>

#include "BenchWindow.h"
#include "app/ProcessLibraries.h"
#include "assets/MeshLibrary.h"
#include "game/Camera.h"
#include "game/Game.h"
#include "game/RenderSettings.h"
#include "items/Particle.h"
#include "items/ParticleEmitter.h"
#include "Timing.h"

namespace {

// Fills a box 100 units wide and deep in front of the eye, half of it outside the view.
void emitField(ParticleEmitter& emitter, int count) {
    std::srand(7);
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(std::rand() % 2000) * 0.1f - 100.0f;
        const float y = static_cast<float>(std::rand() % 200) * 0.05f;
        const float z = static_cast<float>(std::rand() % 1000) * 0.1f + 5.0f;
        emitter.emit(btTransform(btQuaternion::getIdentity(), btVector3(x, y, z)), btVector3(0, 0, 0), 0.5f, 0.6f);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    startProcessLibraries(argc > 2 ? std::string(argv[2]) + "/" : "./");
    BenchWindow window;
    if (!window.isOpen()) {
        std::fprintf(stderr, "no window: run under tests/with-xvfb.sh\n");
        return 1;
    }
    renderSettings.vertexBuffersSupported = GLEW_ARB_vertex_buffer_object;
    Game game;
    game.initGL();
    Camera camera(nullptr);
    camera.eye = btVector3(0, 5, 0);
    camera.viewDirection = btVector3(0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    std::printf("%10s %10s %12s %14s %8s\n", "particles", "frames", "sort ms", "particles ms", "fps");
    for (int count : {500, 2000, 8000, 20000}) {
        ParticleEmitter emitter(MeshLibrary::instance().loadMesh("DustSphere.mesh.xml"));
        emitField(emitter, count);
        double sortTime = 0, passTime = 0;
        int frames = 0;
        const Clock::time_point start = Clock::now();
        while (millisecondsSince(start) < seconds * 1000.0) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            game.buildFrustumPlanes(camera);
            // Move the eye a little so that every frame sorts a new order.
            camera.eye.setX(static_cast<float>(frames % 20) - 10.0f);
            const Clock::time_point sortStart = Clock::now();
            ParticleEmitter::sortParticles(camera.eye);
            sortTime += millisecondsSince(sortStart);
            const Clock::time_point passStart = Clock::now();
            ParticleEmitter::drawParticles(&game, camera.eye);  // sorts again, as each frame does
            glFinish();
            passTime += millisecondsSince(passStart);
            window.swap();
            ++frames;
        }
        std::printf("%10d %10d %12.3f %14.3f %8.1f\n", count, frames, sortTime / frames, passTime / frames,
                    frames / (millisecondsSince(start) / 1000.0));
    }
    stopProcessLibraries();
    return 0;
}
