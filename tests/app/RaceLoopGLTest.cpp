#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "app/RaceLoop.h"
#include "game/Game.h"
#include "game/GameClock.h"
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

}  // namespace
