// Game controller benchmark: the worst the player's mappings can cost the start-up, a file at its
// bounds checked and its mappings added to GLFW's, and what reading every joystick slot costs a frame
// with no pad plugged in. GLFW needs an X display: run it under tests/with-xvfb.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <GLFW/glfw3.h>

#include "input/GlfwPadSource.h"
#include "input/PadInput.h"
#include "input/PadMappings.h"
#include "Timing.h"

namespace {

// As many whole mappings of as many pads as fill the largest file read, each naming every button
// and axis.
std::string fullFile() {
    std::string text;
    for (int pad = 0;; ++pad) {
        char guid[33];
        std::snprintf(guid, sizeof guid, "03000000%024x", pad);
        const std::string line = std::string(guid) + ",Pad " + std::to_string(pad) +
            ",a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,guide:b8,leftshoulder:b4,rightshoulder:b5,leftstick:b9,"
            "rightstick:b10,dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,leftx:a0,lefty:a1,rightx:a3,righty:a4,"
            "lefttrigger:a2,righttrigger:a5,platform:Linux,\n";
        if (text.size() + line.size() > PadMappings::maxBytes) return text;
        text += line;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string text = fullFile();
    std::vector<double> checks, additions;
    int kept = 0;
    for (int round = 0; round < rounds; ++round) {
        if (!glfwInit()) {
            std::fprintf(stderr, "no X display: run under tests/with-xvfb.sh\n");
            return 1;
        }
        Clock::time_point start = Clock::now();
        PadMappings mappings;
        mappings.add(text);
        checks.push_back(millisecondsSince(start));
        kept = mappings.count();
        start = Clock::now();
        glfwUpdateGamepadMappings(mappings.text().c_str());
        additions.push_back(millisecondsSince(start));
        glfwTerminate();  // GLFW forgets the mappings: the next round adds them afresh
    }
    std::printf("mappings file of %zu bytes, %d mappings kept: checked in %.1f ms, added to GLFW in %.1f ms (medians of %d)\n",
                text.size(), kept, median(checks), median(additions), rounds);

    glfwInit();
    GlfwPadSource source("");  // the player's mappings are not this benchmark's
    PadInput pads(source);
    const int frames = 10000;
    const Clock::time_point start = Clock::now();
    for (int frame = 0; frame < frames; ++frame) pads.poll(frame / 60.0);
    std::printf("reading %d joystick slots, none plugged in: %.2f us a frame\n", PadSource::slots,
                millisecondsSince(start) * 1000 / frames);
    glfwTerminate();
    return 0;
}
