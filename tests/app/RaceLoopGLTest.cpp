#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <vector>

#include "app/RaceLoop.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "input/PadInput.h"
#include "support/GLTestWindow.h"

namespace {

// One frame of the loop, half a second after the last: the window is closing, so the loop ends after it.
RaceLoop::Outcome oneFrame(RaceLoop& loop, Game& game, GLFWwindow* window) {
    game.currentTime = 0;
    GameClock::useSimulatedTime(0.5);
    glfwSetWindowShouldClose(window, GLFW_TRUE);
    const RaceLoop::Outcome outcome = loop.run();
    GameClock::useWindowTimer();
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    return outcome;
}

TEST(RaceLoopGL, PausedTheRaceTakesNoSubStepAndOnlyThePressOfPCounts) {
    GLTestWindow window;
    const struct {
        int action;
        int64_t steps;  // of the race clock over the frame: none while paused
    } cases[] = {{GLFW_PRESS, 0}, {GLFW_REPEAT, RaceLoop::maxSubSteps}, {GLFW_RELEASE, RaceLoop::maxSubSteps}};
    for (const auto& c : cases) {
        Game game;
        RaceLoop loop(game, nullptr, nullptr, window.window, false);
        loop.keyEvent('P', c.action);
        EXPECT_EQ(oneFrame(loop, game, window.window), RaceLoop::Outcome::quit);
        EXPECT_EQ(game.raceSteps, c.steps) << c.action;
    }
}

TEST(RaceLoopGL, BackspaceAfterARaceFromTheFrontEndGoesBack) {
    GLTestWindow window;
    Game game;
    game.raceOver = true;
    RaceLoop loop(game, nullptr, nullptr, window.window, true);
    loop.keyEvent(GLFW_KEY_BACKSPACE, GLFW_PRESS);
    EXPECT_EQ(loop.run(), RaceLoop::Outcome::frontEnd);
}

// A game controller in slot 0 that the loop reads once a frame, following a script a step a frame,
// each frame half a second after the last; the window closes after the last step.
struct ScriptedPad : PadSource {
    struct Step {
        bool present;
        int pressed;   // a button, or -1
        bool keyToo;   // a key is pressed as well
    };

    PadState read(int slot) override {
        if (slot != 0) return PadState();
        const Step& now = script[step++];
        PadState pad;
        pad.layout = now.present ? PadState::Layout::gamepad : PadState::Layout::absent;
        if (now.pressed >= 0) pad.buttons[now.pressed] = true;
        if (now.keyToo) loop->keyEvent('Q', GLFW_PRESS);
        if (step == script.size()) glfwSetWindowShouldClose(window, GLFW_TRUE);
        GameClock::useSimulatedTime(GameClock::now() + 0.5);
        return pad;
    }
    std::string name(int) override { return "Pad"; }

    std::vector<Step> script;
    size_t step = 0;
    GLFWwindow* window;
    RaceLoop* loop;
};

}  // namespace

// A pad unplugged pauses the race until a key or a pad is used; Start pauses it, and a key does not
// end that pause. Every frame the race runs takes ten sub-steps.
TEST(RaceLoopGL, PadsPauseTheRace) {
    GLTestWindow window;
    const int none = -1;
    const struct {
        std::vector<ScriptedPad::Step> script;
        int64_t steps;
    } cases[] = {{{{true, none, false}, {false, none, false}, {false, none, true}}, 20},
                 {{{true, none, false}, {false, none, false}, {true, PadState::a, false}}, 20},
                 {{{true, none, false}, {true, PadState::start, false}, {true, none, true}}, 10}};
    for (const auto& c : cases) {
        Game game;
        ScriptedPad pad;
        PadInput pads(pad);
        RaceLoop loop(game, nullptr, nullptr, window.window, false, &pads);
        pad.script = c.script;
        pad.window = window.window;
        pad.loop = &loop;
        game.currentTime = 0;
        GameClock::useSimulatedTime(0.5);
        loop.run();
        GameClock::useWindowTimer();
        glfwSetWindowShouldClose(window.window, GLFW_FALSE);
        EXPECT_EQ(game.raceSteps, c.steps) << "case " << (&c - cases);
    }
}
