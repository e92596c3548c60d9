#pragma once

#include <string>
#include <vector>

#include "game/PlayerControls.h"
#include "input/PadSource.h"

// The game controllers, read from a source once a frame: the controls they hold for the race, their
// presses for the menus and the pause, and the pads that came and went. Every pad drives the same
// kart, so two players can hand over without a menu.
//   race:  left stick or d-pad steers; A or the right trigger accelerates, B or the left trigger
//          brakes; X or the right shoulder drifts; Y or the left shoulder uses the held item, thrown
//          behind with the stick or the d-pad pulled back; A restarts after the race
//   menus: the d-pad or the stick moves, repeating while held; A chooses, B goes back
// A joystick without a mapping steers with its axis 0, and its buttons 0 to 3 are A, B, X and Y.
class PadInput {
public:
    // A direction taken or held long enough to repeat, or a button pressed: A chooses, B goes back,
    // Start pauses, Back leaves a finished race for the front end.
    enum class Press { up, down, left, right, choose, back, pause, leave };

    // What the pads did in one frame, besides the controls they hold.
    struct Frame {
        std::vector<Press> presses;
        std::vector<std::string> messages;  // pads found, plugged in or unplugged: lines for the screen
        bool padLost = false;               // a pad was unplugged
        bool used = false;                  // a pad pressed something or took up a control
    };

    explicit PadInput(PadSource& source) : source(source) {}

    // Once a frame; `now` in seconds times the repeats.
    Frame poll(double now);
    // The controls for one physics sub-step: those held at the last poll, and those taken up since the
    // previous sub-step, even if let go already (as the keyboard's sticky keys do), among them A's
    // restart, which is never held.
    PlayerControls controls();
    // Lets go of what was taken up since the last sub-step: what the pads did in the menus or during a
    // pause is not the race's.
    void forget() { taken = PlayerControls(); }

    static constexpr float stickDeadZone = 0.2f;     // of the stick's travel, in every direction
    static constexpr float steerThreshold = 0.3f;    // of the travel beyond the dead zone, sideways
    static constexpr float pulledBack = 0.5f;        // the same backwards: a shell goes behind
    static constexpr float menuThreshold = 0.5f;     // the same for a move in the menus
    static constexpr float triggerThreshold = 0.3f;  // of a trigger's pull
    static constexpr double repeatDelay = 0.4;       // seconds a direction is held before it repeats
    static constexpr double repeatInterval = 0.12;   // seconds between repeats

private:
    struct Slot {
        PadState last;  // at the previous poll, in the standard layout
        std::string name;
        int direction = -1;      // the Press from up to right held at the previous poll; -1: none
        double nextRepeat = 0;   // when the held direction repeats, in seconds
        // Whether each trigger (left, right) was seen at rest: one that a mapping leaves out reads 0,
        // half pulled, and must not hold the throttle.
        bool triggerRested[2] = {};
    };

    // Notes a pad plugged into or unplugged from slot `index`.
    void comeOrGo(int index, const PadState& pad, double now, Frame& frame);
    // Notes the directions and buttons a present pad took up since the last poll.
    void press(Slot& slot, const PadState& pad, double now, Frame& frame);

    PadSource& source;
    Slot slots[PadSource::slots];
    PlayerControls holding;  // every pad's, at the last poll
    PlayerControls taken;    // taken up since the previous sub-step
};
