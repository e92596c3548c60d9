#pragma once

#include <memory>
#include <string>

class AudioDevice;
class Game;
class KeyboardControls;
class Light;
class PadInput;
class RaceAudio;
struct GLFWwindow;
struct RaceSettings;

// One race's objects: the Game with its level loaded, the scene light, the shells' meshes and, once
// the window is open, the keyboard and the game controllers driving the player's kart and the race's
// sound.
class RaceHost {
public:
    // Loads the level for a race on `settings` from the process-wide libraries. Makes no OpenGL
    // call, so it may run on a thread of its own while the window opens.
    explicit RaceHost(const RaceSettings& settings);
    // With the OpenGL context current: the textures, buffers and lists drawn so far go with it.
    ~RaceHost();
    RaceHost(const RaceHost&) = delete;
    RaceHost& operator=(const RaceHost&) = delete;

    // With the window open: OpenGL set up for the race, the keyboard and `pads` (may be null) on the
    // player's kart, and the race heard through `device` (may be null) with the sounds under
    // `mediaPrefix`; M mutes it.
    void attach(GLFWwindow* window, AudioDevice* device, const std::string& mediaPrefix, PadInput* pads);
    Game& game() { return *race; }
    // After attach.
    RaceAudio& audio() { return *sound; }

private:
    std::unique_ptr<Game> race;
    std::unique_ptr<Light> light;
    std::unique_ptr<KeyboardControls> keyboard;
    std::unique_ptr<RaceAudio> sound;  // listens to the game's events: goes before it
};
