#include "app/RaceLoop.h"

#include <GLFW/glfw3.h>
#include <btBulletDynamicsCommon.h>

#include "app/WindowMode.h"
#include "audio/RaceAudio.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "game/HeadsUpDisplay.h"
#include "game/KeyInput.h"
#include "game/MessageLog.h"
#include "input/PadInput.h"
#include "replay/ReplaySession.h"

namespace {

const int pausedNoteTwelfths = 6;  // the middle of the screen
const int hintTwelfths = 10;       // above the ranking

}  // namespace

RaceLoop::Outcome RaceLoop::run() {
    listen(window, this);
    // What the pads did in the menus is not the race's.
    if (pads) pads->forget();
    const Outcome outcome = frames();
    setPaused(false);
    return outcome;
}

// One frame: clock -> pads (their pause first) -> physics sub-steps, none while paused (each followed
// by the tick: controls, then standings) -> a finished race kept -> camera and particles on by the
// frame's time, none while paused, and drawing -> notes over the picture -> swap buffers (key and
// resize callbacks run here) -> sound -> window mode -> Escape, closing, Backspace.
RaceLoop::Outcome RaceLoop::frames() {
    for (;;) {
        game.previousTime = game.currentTime;
        game.currentTime = GameClock::now();
        game.frameTime = game.currentTime - game.previousTime;
        if (pads) hearPads();
        if (!paused) {
            game.dynamicsWorld->stepSimulation(static_cast<btScalar>(game.frameTime), maxSubSteps, Game::subStep);
        }
        if (replays) replays->afterPhysics(game);
        game.drawFrame(paused ? 0.0f : static_cast<float>(game.frameTime));
        if (paused) drawScreenNote(waitingForPlayer ? "Paused: a key or a button goes on" : "Paused", pausedNoteTwelfths);
        if (fromFrontEnd && game.raceOver) drawScreenNote("Backspace or Back: back to the circuits", hintTwelfths);
        game.presentFrame();
        if (audio) audio->update(paused ? 0.0f : static_cast<float>(game.frameTime));
        if (switchDisplay) setFullScreen(window, !isFullScreen(window));
        switchDisplay = false;
        if (glfwGetKey(window, GLFW_KEY_ESCAPE) == GLFW_PRESS) return Outcome::quit;
        if (glfwWindowShouldClose(window)) return Outcome::quit;
        if (backToFrontEnd) return Outcome::frontEnd;
    }
}

void RaceLoop::keyEvent(int key, int action) {
    // A key goes on after a pad was unplugged, and does nothing else.
    if (waitingForPlayer && action == GLFW_PRESS) {
        setPaused(false);
        return;
    }
    onKey(key, action);
    // Held keys repeat; only the press counts.
    if (action != GLFW_PRESS) return;
    if (key == 'P') setPaused(!paused);
    if (key == GLFW_KEY_F11) switchDisplay = !switchDisplay;
    if (key == GLFW_KEY_BACKSPACE && fromFrontEnd && game.raceOver) backToFrontEnd = true;
}

void RaceLoop::setPaused(bool pause) {
    if (!pause) waitingForPlayer = false;
    if (pause == paused) return;
    paused = pause;
    if (audio && paused) {
        mutedOutsidePause = audio->isMuted();
        audio->setMuted(true);
    } else if (audio) {
        audio->setMuted(mutedOutsidePause);
    }
    // Keys tapped during the pause are forgotten, not acted on at once when it ends: sticky keys let
    // go of the taps they hold as they are switched off. So are the pads' taps.
    if (!paused && glfwGetInputMode(window, GLFW_STICKY_KEYS) == GLFW_TRUE) {
        glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_FALSE);
        glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
    }
    if (!paused && pads) pads->forget();
}

void RaceLoop::hearPads() {
    const PadInput::Frame frame = pads->poll(game.currentTime);
    for (const std::string& text : frame.messages) showMessage(text);
    if (frame.padLost) {
        setPaused(true);
        waitingForPlayer = true;
    } else if (waitingForPlayer && frame.used) {
        setPaused(false);
    } else {
        for (PadInput::Press press : frame.presses) {
            if (press == PadInput::Press::pause) setPaused(!paused);
            if (press == PadInput::Press::leave && fromFrontEnd && game.raceOver) backToFrontEnd = true;
        }
    }
}
