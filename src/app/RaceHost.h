#pragma once

#include <memory>

class Game;
class KeyboardControls;
class Light;
struct GLFWwindow;
struct RaceSettings;

// One race's objects: the Game with its level loaded, the scene light, the shells' meshes and, once
// the window is open, the keyboard driving the player's kart.
class RaceHost {
public:
    // Loads the level for a race on `settings` from the process-wide libraries. Makes no OpenGL
    // call, so it may run on a thread of its own while the window opens.
    explicit RaceHost(const RaceSettings& settings);
    // With the OpenGL context current: the textures, buffers and lists drawn so far go with it.
    ~RaceHost();
    RaceHost(const RaceHost&) = delete;
    RaceHost& operator=(const RaceHost&) = delete;

    // With the window open: OpenGL set up for the race, and the keyboard on the player's kart.
    void attach(GLFWwindow* window);
    Game& game() { return *race; }

private:
    std::unique_ptr<Game> race;
    std::unique_ptr<Light> light;
    std::unique_ptr<KeyboardControls> keyboard;
};
