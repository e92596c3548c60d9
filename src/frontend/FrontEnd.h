#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "frontend/MenuAction.h"
#include "frontend/PlayerSettings.h"

// The front end's screens as a state machine: fed menu actions, it keeps the screen, the selected
// row and the player's choices, and says when to start a race or quit. It draws nothing and knows
// no device, so it is run without a window.
//   circuit:  the circuit number (typed, or Left/Right, or R) and a row leading to the settings;
//             Enter on the number goes on to the race screen, Escape quits
//   race:     laps, computer drivers, their pace and a start row; Enter starts, Escape goes back
//   settings: window or full screen, volume, sound on or off, and the keys page; Escape goes back
//   keys:     the keys of the game; Enter or Escape goes back
class FrontEnd {
public:
    enum class Screen { circuit, race, settings, keys };
    enum class Request { none, startRace, quit };

    // Rows, top to bottom, of each screen that has them.
    enum CircuitRow { numberRow, settingsRow, circuitRows };
    enum RaceRow { lapsRow, driversRow, paceRow, startRow, raceRows };
    enum SettingsRow { displayRow, volumeRow, soundRow, keysRow, settingsRows };

    // `randomSeed` seeds the draws of R.
    FrontEnd(const PlayerSettings& settings, uint32_t randomSeed);

    Request handle(const MenuAction& action);
    // Back on the circuit screen after a race, with the number ready to be typed over.
    void returnFromRace();
    // The window mode changed outside the menu (F11).
    void setFullScreen(bool fullScreen) { choices.fullScreen = fullScreen; }
    // The sound was switched outside the menu (M in the race).
    void setMuted(bool muted) { choices.sound.muted = muted; }

    Screen screen() const { return current; }
    int row() const { return selected; }
    const PlayerSettings& settings() const { return choices; }
    // The circuit field: up to five digits, "" once they are all deleted. While it is empty the
    // settings keep the last circuit it held.
    const std::string& circuitText() const { return digits; }
    // True while the next digit typed starts a new number instead of adding to this one.
    bool replacesOnDigit() const { return fresh; }

private:
    Request handleCircuit(const MenuAction& action);
    Request handleRace(const MenuAction& action);
    void handleSettings(const MenuAction& action);
    void showCircuit(int number);
    void typeDigit(int digit);
    void moveRow(const MenuAction& action, int rows);
    void enter(Screen screen);

    Screen current = Screen::circuit;
    int selected = 0;
    PlayerSettings choices;
    std::string digits;
    bool fresh = true;
    std::mt19937 randomDraws;
};
