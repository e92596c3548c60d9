// Mesh drawing benchmark: generates a textured sphere of about 50,000 triangles, times loading it
// through the mesh library, then draws it in every vertex mode with and without display lists and
// prints frames per second. Figures only, no verdict. The machines are shared, so every
// configuration runs in several rounds, interleaved, and the best round counts. Needs an X display:
//   tests/with-xvfb.sh <build>/tools/vorbel-bench-mesh [seconds per run] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <numeric>
#include <vector>

#include <GL/glew.h>

#include "BenchMedia.h"
#include "BenchWindow.h"
#include "app/ProcessLibraries.h"
#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "game/Game.h"
#include "game/Light.h"
#include "game/RenderSettings.h"
#include "Timing.h"

namespace {

const double defaultSeconds = 1.0;
const int defaultRounds = 3;
const int minimumFrames = 10;
const float eyeDistance = 30.0f;
const float degreesPerFrame = 0.5f;  // the sphere turns, as a level's objects pass the camera

// A light high above and to the side of the viewer, as in the game.
const float lightPosition[] = {100.0f, 1000.0f, 100.0f, 1.0f};
const float lightAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
const float lightDiffuse[] = {0.9f, 0.9f, 0.9f, 1.0f};
const float lightSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};

struct Configuration {
    const char* name;
    int vertexMode;
    bool displayLists;
    // Bind the texture (by one frame in buffer mode) before the list is recorded, so that the list
    // holds the binding only and not the image upload.
    bool textureBoundFirst;
};

const Configuration configurations[] = {
    {"0 immediate", 0, false, false},       {"0 immediate", 0, true, false},
    {"0 immediate", 0, true, true},         {"1 vertex arrays", 1, false, false},
    {"1 vertex arrays", 1, true, false},    {"1 vertex arrays", 1, true, true},
    {"2 buffer objects", 2, false, false},  {"2 buffer objects", 2, true, false},
};

void drawFrame(BenchWindow& window, Mesh* mesh, int frame) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -eyeDistance);
    glRotatef(frame * degreesPerFrame, 0, 1, 0);
    if (mesh) mesh->render();
    window.swap();
    glFinish();
}

struct Rate {
    int frames = 0;
    double seconds = 0;
    double perSecond() const { return seconds > 0 ? frames / seconds : 0; }
};

// Draws frames for at least `seconds` and `minimumFrames`.
Rate measure(BenchWindow& window, Mesh* mesh, double seconds) {
    Rate rate;
    const Clock::time_point start = Clock::now();
    while (rate.frames < minimumFrames || rate.seconds < seconds) {
        drawFrame(window, mesh, rate.frames);
        ++rate.frames;
        rate.seconds = millisecondsSince(start) / 1000.0;
    }
    return rate;
}

// One configuration's figures over all rounds.
struct Result {
    double bestFirstFrame = 0;   // milliseconds: recording the list or filling the buffers, and the upload
    double bestRate = 0;         // frames per second
    int frames = 0;              // in the best round
};

// Loads the sphere with fresh libraries (the file is parsed again, the patches record their lists
// and create their buffers anew), then draws it in one configuration. Returns the load time in ms.
double runOnce(BenchWindow& window, const BenchMedia& media, const Configuration& configuration, double seconds,
               Result& result) {
    startProcessLibraries(media.prefix());
    const Clock::time_point loadStart = Clock::now();
    boost::shared_ptr<Mesh> mesh = MeshLibrary::instance().loadMesh(BenchMedia::meshFileName);
    const double loadTime = millisecondsSince(loadStart);

    if (configuration.textureBoundFirst) {
        renderSettings.vertexMode = 2;
        drawFrame(window, mesh.get(), 0);
    }
    renderSettings.vertexMode = configuration.vertexMode;
    renderSettings.displayLists = configuration.displayLists;
    const Clock::time_point firstStart = Clock::now();
    drawFrame(window, mesh.get(), 0);
    const double firstFrame = millisecondsSince(firstStart);
    const Rate rate = measure(window, mesh.get(), seconds);

    if (result.frames == 0 || firstFrame < result.bestFirstFrame) result.bestFirstFrame = firstFrame;
    if (rate.perSecond() > result.bestRate) {
        result.bestRate = rate.perSecond();
        result.frames = rate.frames;
    }
    return loadTime;
}

const char* textureColumn(const Configuration& configuration) {
    if (!configuration.displayLists || configuration.vertexMode == 2) return "-";
    return configuration.textureBoundFirst ? "before list" : "in list";
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : defaultSeconds;
    if (!(seconds > 0)) seconds = defaultSeconds;
    int rounds = argc > 2 ? std::atoi(argv[2]) : defaultRounds;
    if (rounds < 1) rounds = defaultRounds;

    BenchMedia media;
    if (!media.isReady()) return 1;
    BenchWindow window;
    if (!window.isOpen()) return 1;
    Game game;
    Light light(lightPosition, lightAmbient, lightDiffuse, lightSpecular, 1.0f, 0.0f, 0.0f, GL_LIGHT0);
    game.addLight(&light);
    game.initGL();

    std::cout << std::fixed << std::setprecision(1);
    std::cout << "vorbel-bench-mesh: sphere of " << BenchMedia::triangleCount << " triangles, "
              << BenchMedia::vertexCount << " vertices, texture " << BenchMedia::textureSize << "x"
              << BenchMedia::textureSize << "; mesh file " << media.meshFileBytes / 1024.0 / 1024.0 << " MiB\n";
    std::cout << "renderer: " << glGetString(GL_RENDERER) << "; window " << BenchWindow::width << "x"
              << BenchWindow::height << "; " << rounds << " rounds of at least " << seconds
              << " s per configuration, best round shown" << std::endl;

    double emptyRate = 0;
    for (int round = 0; round < rounds; ++round) {
        emptyRate = std::max(emptyRate, measure(window, nullptr, seconds).perSecond());
    }
    std::cout << "empty frame (clear + swap): " << emptyRate << " frames/s\n\n";

    const size_t count = sizeof(configurations) / sizeof(configurations[0]);
    std::vector<Result> results(count);
    std::vector<double> loadTimes;
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < count; ++i) {
            loadTimes.push_back(runOnce(window, media, configurations[i], seconds, results[i]));
        }
    }
    stopProcessLibraries();

    std::cout << std::left << std::setw(18) << "vertex mode" << std::setw(7) << "lists" << std::setw(15)
              << "texture bound" << std::right << std::setw(16) << "first frame ms" << std::setw(8) << "frames"
              << std::setw(10) << "frames/s" << "\n";
    for (size_t i = 0; i < count; ++i) {
        const Configuration& configuration = configurations[i];
        std::cout << std::left << std::setw(18) << configuration.name << std::setw(7)
                  << (configuration.displayLists ? "on" : "off") << std::setw(15) << textureColumn(configuration)
                  << std::right << std::setw(16) << results[i].bestFirstFrame << std::setw(8) << results[i].frames
                  << std::setw(10) << results[i].bestRate << "\n";
    }

    std::sort(loadTimes.begin(), loadTimes.end());
    const double mean = std::accumulate(loadTimes.begin(), loadTimes.end(), 0.0) / loadTimes.size();
    std::cout << "\nloadMesh of the sphere file: best " << loadTimes.front() << " ms, median "
              << loadTimes[loadTimes.size() / 2] << " ms, mean " << mean << " ms over " << loadTimes.size()
              << " loads" << std::endl;
    return 0;
}
