#pragma once

#include <memory>
#include <string>

class AudioDevice;
class Game;
class GhostKart;
class GhostPath;
class KeyboardControls;
class Light;
class PadInput;
class RaceAudio;
class ReplaySession;
struct GLFWwindow;
struct RaceSettings;

// One race's objects: the Game with its level loaded, the scene light, the shells' meshes, a time
// trial's ghost and, once the window is open, the keyboard and the game controllers driving the
// player's kart through the race's replays, and the race's sound.
class RaceHost {
public:
    // Loads the level for a race on `settings` from the process-wide libraries. Makes no OpenGL
    // call, so it may run on a thread of its own while the window opens.
    // `ghost`, when it is not empty, drives beside the player.
    RaceHost(const RaceSettings& settings, GhostPath ghost);
    // With the OpenGL context current: the textures, buffers and lists drawn so far go with it.
    ~RaceHost();
    RaceHost(const RaceHost&) = delete;
    RaceHost& operator=(const RaceHost&) = delete;

    // With the window open: OpenGL set up for the race, the keyboard and `pads` (may be null) on the
    // player's kart through `replays` (which record the race or play a replay instead), and the race
    // heard through `device` (may be null) with the sounds under `mediaPrefix`; M mutes it. With
    // `autopilot` the course driver steers, and the keys add to what it does.
    void attach(GLFWwindow* window, AudioDevice* device, const std::string& mediaPrefix, ReplaySession& replays,
                PadInput* pads, bool autopilot = false);
    Game& game() { return *race; }
    // After attach.
    RaceAudio& audio() { return *sound; }

private:
    std::unique_ptr<Game> race;
    std::unique_ptr<GhostKart> ghost;  // the game draws it, as its ghost
    std::unique_ptr<Light> light;
    std::unique_ptr<KeyboardControls> keyboard;
    std::unique_ptr<RaceAudio> sound;  // listens to the game's events: goes before it
};
