#pragma once

#include "app/KeyListener.h"

class Game;
class PadInput;
class RaceAudio;
class ReplaySession;
struct GLFWwindow;

// The race's frame loop, until Escape, the window's closing or, for a race the front end started,
// Backspace on the ranking screen. Beside the game's own keys it hears P, which pauses the race
// (no physics sub-step runs, so the karts, shells, timers, computer drivers and the race clock stand
// still, the camera and particles get no time, and the race is silent), and F11, which switches between
// window and full screen. The game controllers' Start pauses and resumes as P does, and their Back
// leaves the race as Backspace does; a pad unplugged pauses the race until a key or a pad is used.
class RaceLoop : public KeyListener {
public:
    enum class Outcome { quit, frontEnd };

    // `audio` (may be null) hears the race, once a frame; `replays` (may be null) keep each race the
    // player finishes. `fromFrontEnd`: Backspace after the race goes back to the front end. `pads`
    // (may be null) are read once a frame.
    RaceLoop(Game& game, RaceAudio* audio, ReplaySession* replays, GLFWwindow* window, bool fromFrontEnd,
             PadInput* pads = nullptr)
        : game(game), audio(audio), replays(replays), window(window), fromFrontEnd(fromFrontEnd), pads(pads) {}

    // Runs the frames; the race is not left paused.
    Outcome run();
    void keyEvent(int key, int action) override;

    static constexpr int maxSubSteps = 10;

private:
    Outcome frames();
    void setPaused(bool pause);
    void hearPads();

    Game& game;
    RaceAudio* audio;
    ReplaySession* replays;
    GLFWwindow* window;
    bool fromFrontEnd;
    PadInput* pads;
    bool paused = false;
    bool waitingForPlayer = false;  // paused as a pad was unplugged: any key or pad goes on
    bool mutedOutsidePause = false;  // the player's own mute, back when the pause ends
    bool switchDisplay = false;  // F11 was pressed: the window changes mode after the frame
    bool backToFrontEnd = false;
};
