#pragma once

#include <cstdint>

// What the player asks of the kart in one physics sub-step, from whichever device: the keyboard, a
// game controller or a replay. The race reads it once per sub-step, so a record of these flags, one
// per sub-step, runs the same race again.
struct PlayerControls {
    enum Flag : uint16_t {
        steerLeft = 1 << 0,
        steerRight = 1 << 1,
        throttle = 1 << 2,
        brake = 1 << 3,
        drift = 1 << 4,
        useItem = 1 << 5,
        backwards = 1 << 6,       // with useItem: a green shell dropped behind
        takeRedShell = 1 << 7,
        takeGreenShell = 1 << 8,
        takeTurbo = 1 << 9,
        takeStar = 1 << 10,
        takeFlash = 1 << 11,
        endRace = 1 << 12,
        restart = 1 << 13,        // after the race: the next one
        computersHeld = 1 << 14,  // the computer drivers let go of their karts
    };

    bool has(Flag flag) const { return (flags & flag) != 0; }
    void set(Flag flag, bool on = true) { flags = on ? (flags | flag) : (flags & ~flag); }

    uint16_t flags = 0;
};
