#pragma once

#include <string>

#include "app/KeyListener.h"
#include "frontend/CircuitPreview.h"
#include "frontend/FrontEnd.h"
#include "frontend/FrontEndView.h"
#include "replay/GhostPath.h"

class AudioDevice;
class PadInput;
class SettingsStore;
struct GLFWwindow;

// The front end and the races started from it, in one window: the front end's frames until the
// player starts a race, then the race's loop until Backspace after the race brings the player back,
// and so on until the player quits. It does the switching, so that neither the Game nor the front
// end knows of the other. The settings are kept as each race starts and as the session ends.
class FrontEndSession : public KeyListener {
public:
    // `installedPrefix` holds circuit 0's media, installed with the game; other circuits come from
    // the cache. The window's context must be current, GLEW and the bitmap font ready. The races are
    // heard through `device` (may be null). The game controllers (`pads`, may be null) move in the
    // menus and drive in the races beside the keyboard.
    FrontEndSession(GLFWwindow* window, AudioDevice* device, SettingsStore& store, const PlayerSettings& settings,
                    std::string installedPrefix, PadInput* pads);

    // Runs until the player quits or closes the window.
    void run();
    void keyEvent(int key, int action) override;

    static constexpr int mapSize = FrontEndView::mapSize;
    static constexpr double frameSeconds = 1.0 / 60.0;  // the front end draws no more often than this

private:
    // Prepares and runs one race on the front end's choices; false once the player quit the game.
    bool race();
    // For a race without computer drivers, a time trial: the ghost of the best race on the circuit
    // over as many laps, run again with its progress on screen; empty when there is none.
    GhostPath ghostFor(const PlayerSettings& settings, const std::string& media);
    // The folder above the circuit's media, generated first into the cache when needed, with the
    // progress on screen; "" when the circuit cannot be had.
    std::string mediaPrefix(int circuit);
    // Shows the drawn frame and waits for the next one, or for the next event.
    void nextFrame();
    // Applies the window mode the front end's settings ask for.
    void applyDisplay();
    // The pads' presses as menu actions; a pad that came or went said on the notice line.
    void hearPads();
    void handle(const MenuAction& action);

    GLFWwindow* window;
    AudioDevice* device;
    SettingsStore& store;
    FrontEnd frontEnd;
    FrontEndView view;
    CircuitPreview preview;
    std::string installedPrefix;
    PadInput* pads;
    std::string notice;  // what went wrong with the last start, or a pad that came or went; until the next key
    RecordBook records;  // the player's, read as the session begins and after each race
    FrontEnd::Request request = FrontEnd::Request::none;
    bool starting = false;  // a race is being prepared: keys wait
};
