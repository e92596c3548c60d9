// Front-end benchmark: the frames per second of each front-end screen drawn as the game draws it,
// and how long a new circuit number takes to show its map (making the circuit, drawing its map,
// handing it to OpenGL and drawing the frame). Figures only. Run it under tests/with-xvfb.sh:
//   tests/with-xvfb.sh build/tools/vorbel-bench-frontend [seconds per screen] [circuits]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <GL/gl.h>

#include "BenchWindow.h"
#include "frontend/CircuitPreview.h"
#include "frontend/FrontEnd.h"
#include "frontend/FrontEndView.h"
#include "game/BitmapText.h"
#include "Timing.h"

namespace {

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    const int circuits = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    BenchWindow window;
    if (!window.isOpen()) {
        std::fprintf(stderr, "no window: run under tests/with-xvfb.sh\n");
        return 1;
    }
    initBitmapFont();
    FrontEnd frontEnd(PlayerSettings(), 1);
    FrontEndView view;
    view.show(CircuitPreview::make(0, FrontEndView::mapSize));

    // Each screen, reached from the one before.
    using Kind = MenuAction::Kind;
    const struct {
        const char* name;
        std::vector<Kind> way;
    } screens[] = {{"circuit", {}},
                   {"race", {MenuAction::choose}},
                   {"keys", {MenuAction::back, MenuAction::down, MenuAction::choose, MenuAction::up, MenuAction::choose}}};
    std::printf("%-10s %8s %8s\n", "screen", "frames", "fps");
    for (const auto& screen : screens) {
        for (Kind kind : screen.way) frontEnd.handle({kind});
        int frames = 0;
        const Clock::time_point start = Clock::now();
        while (millisecondsSince(start) < seconds * 1000) {
            view.draw(frontEnd, "");
            window.swap();
            ++frames;
        }
        glFinish();
        std::printf("%-10s %8d %8.0f\n", screen.name, frames, frames / (millisecondsSince(start) / 1000));
    }

    // A new number: its circuit and map made as the preview makes them, then the first frame with them.
    std::vector<double> made, shown;
    for (int number = 1; number <= circuits; ++number) {
        const Clock::time_point start = Clock::now();
        CircuitPreview::Picture picture = CircuitPreview::make(number, FrontEndView::mapSize);
        made.push_back(millisecondsSince(start));
        view.show(std::move(picture));
        view.draw(frontEnd, "");
        glFinish();
        shown.push_back(millisecondsSince(start));
    }
    std::sort(made.begin(), made.end());
    std::sort(shown.begin(), shown.end());
    std::printf("new number to its map, circuits 1 to %d: made median %.0f ms, worst %.0f ms; shown median %.0f ms,"
                " worst %.0f ms\n",
                circuits, made[made.size() / 2], made.back(), shown[shown.size() / 2], shown.back());
    return 0;
}
